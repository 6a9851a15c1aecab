#!/bin/sh
# Holds the code that runs inside the crash handler to async-signal-safe calls:
# lists every function that the handler's objects in the crash library call
# and fails on one that is neither defined among those objects nor in the set
# below (the POSIX async-signal-safe functions used, plus raw system calls).
set -eu
library="$1"
handler_objects="signal_handler.cpp.o error_log.cpp.o minidump_writer.cpp.o proc_maps.cpp.o safe_text.cpp.o exception_names.cpp.o crash_list_text.cpp.o"
allowed="_Fork __errno_location _exit access chmod clock_gettime close environ execve fchmod fsync
getpid lseek memcpy memset mkdir nanosleep open process_vm_readv read setsid sigaction sigemptyset
sigprocmask stat strlen syscall write"

listing="$(nm -A "$library")"
defined="$(printf '%s\n' "$listing" | awk '$(NF-1) ~ /^[TtDdBbRrVvWw]$/ {print $NF}')"
checked=0
status=0
for object in $handler_objects; do
    if ! printf '%s\n' "$listing" | grep -q ":$object:"; then
        echo "missing from $library: $object"
        status=1
        continue
    fi
    checked=$((checked + 1))
    for symbol in $(printf '%s\n' "$listing" | grep ":$object:" | awk '$(NF-1) == "U" {print $NF}'); do
        case " $(echo $allowed) " in *" $symbol "*) continue ;; esac
        if printf '%s\n' "$defined" | grep -qx -- "$symbol"; then continue; fi
        echo "$object calls $symbol, which is not async-signal-safe"
        status=1
    done
done
echo "checked the calls of $checked handler objects"
exit $status
