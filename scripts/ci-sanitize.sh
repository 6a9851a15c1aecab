#!/usr/bin/env bash
# The sanitizer stage of continuous integration:
#  1. the unit tests built with AddressSanitizer and UndefinedBehaviorSanitizer
#     (gcc, build-asan/) and run with ctest;
#  2. every fuzz target built with clang's libFuzzer under the same sanitizers
#     (build-fuzz/) and run for FUZZ_SECONDS (default 60) from seeds made of
#     the bad-input corpus. Any finding fails the stage; its input is left in
#     the printed artifact folder, to be committed to fuzz/regressions/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
seconds="${FUZZ_SECONDS:-60}"
jobs="$(nproc)"
# Build folders are $prefix-asan and $prefix-fuzz.
prefix="${BUILD_PREFIX:-build}"

QUORVEL_WITH_FUZZ=1 scripts/install-deps.sh

stamp() { date +%s; }
started=$(stamp)

echo "== sanitizer build and tests ($prefix-asan)"
# The desktop program stays out of this stage (its window tests run in
# scripts/test.sh); the build so also proves that everything else builds
# and passes without Qt.
cmake -S . -B "$prefix-asan" -DCMAKE_BUILD_TYPE=Debug -DQUORVEL_SANITIZE=ON -DQUORVEL_GUI=OFF \
    -DQUORVEL_BUILD_BENCH=OFF >/dev/null
cmake --build "$prefix-asan" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$prefix-asan" --output-on-failure -j "$jobs"
asan_done=$(stamp)

echo "== fuzz targets ($prefix-fuzz, clang, libFuzzer)"
CC=clang CXX=clang++ cmake -S . -B "$prefix-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUORVEL_FUZZ=ON -DQUORVEL_SANITIZE=ON -DQUORVEL_GUI=OFF -DQUORVEL_BUILD_TESTS=OFF \
    -DQUORVEL_BUILD_BENCH=OFF >/dev/null
cmake --build "$prefix-fuzz" -j "$jobs"
build_done=$(stamp)

work="$(mktemp -d /tmp/quorvel-fuzz.XXXXXX)"
fuzz/make_seeds.sh "$prefix-fuzz" "$work/seeds"
mkdir -p "$work/artifacts"

# Longest input per target: pages get room to cross the 2048-byte text
# limits, command lines and settings lines stay short.
declare -A max_len=(
    [scanner_fuzz]=16384
    [html_colorizer_fuzz]=16384
    [profile_file_fuzz]=16384
    [check_message_fuzz]=4096
    [cli_args_fuzz]=1024
)
# Pages may be long from the first run on, so that the 2047-byte text limits
# are crossed within the minute.
declare -A extra=([scanner_fuzz]=-len_control=0)
failed=()
for target in scanner_fuzz profile_file_fuzz check_message_fuzz html_colorizer_fuzz cli_args_fuzz; do
    echo "-- $target for ${seconds}s"
    mkdir -p "$work/corpus/$target"
    if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "$prefix-fuzz/fuzz/$target" "$work/corpus/$target" "$work/seeds/$target" \
        -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
        -max_len="${max_len[$target]}" ${extra[$target]:-} -print_final_stats=1 \
        -artifact_prefix="$work/artifacts/$target-" >"$work/$target.log" 2>&1; then
        failed+=("$target")
        tail -n 60 "$work/$target.log"
    else
        grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$work/$target.log" || true
    fi
done
finished=$(stamp)

echo "== times: asan build+tests $((asan_done - started))s," \
    "fuzz build $((build_done - asan_done))s, fuzzing $((finished - build_done))s"
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz findings in: ${failed[*]}; inputs in $work/artifacts:" >&2
    ls -l "$work/artifacts" >&2
    exit 1
fi
rm -rf "$work"
echo "sanitizer stage: all tests and fuzz targets clean"
echo "fuzz: ${#max_len[@]} passed, 0 failed"
