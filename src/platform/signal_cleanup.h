#pragma once

#include <signal.h>

#include <string_view>

namespace quorvel {

// Temporary files that must not outlive the program when it is interrupted:
// on SIGINT, SIGTERM or SIGHUP every registered name is removed, and the
// signal then ends the program as it would have without the handler.

// Installs the handlers (once; later calls do nothing). A signal that is
// ignored when this is called (nohup) stays ignored.
void installTemporaryFileCleanup();

// Registers a file name to remove on those signals; returns a slot for
// unregisterTemporaryFile, or -1 when the name is too long or all slots are
// taken (the file is then not removed by a signal). Safe from any thread.
int registerTemporaryFile(std::string_view path);

// Forgets a registered name; -1 is ignored.
void unregisterTemporaryFile(int slot);

// While an object lives, the cleanup signals wait on this thread, so that a
// file is created (or named) and registered as one step.
class CleanupSignalsHeld {
public:
    CleanupSignalsHeld();
    ~CleanupSignalsHeld();
    CleanupSignalsHeld(const CleanupSignalsHeld&) = delete;
    CleanupSignalsHeld& operator=(const CleanupSignalsHeld&) = delete;

private:
    sigset_t previous_;
};

}  // namespace quorvel
