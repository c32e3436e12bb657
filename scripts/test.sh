#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds Scrivel with warnings as errors and runs every test (unit, widget and
# end-to-end), then builds it again with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs the unit and widget tests once more.
# Needs no display: the end-to-end tests start a private virtual desktop.
# Exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh

logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
status=0

run_ctest() { # log-name ctest-arguments...
    local log="$logs/$1"
    shift
    if ! ctest --output-on-failure --no-tests=error -j2 "$@" 2>&1 | tee "$log"; then
        status=1
    fi
}

echo "== Build (warnings as errors)"
cmake -S . -B build -G Ninja -DSCRIVEL_WERROR=ON
cmake --build build -j2

echo "== All tests"
run_ctest all --test-dir build

echo "== Build with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DSCRIVEL_WERROR=ON -DSCRIVEL_SANITIZE=ON \
    -DSCRIVEL_BUILD_BENCH=OFF
cmake --build build-asan -j2

echo "== Unit and widget tests under the sanitizers"
# Leaks inside system libraries (font configuration caches, the D-Bus
# connection Qt keeps for the process's life) are theirs, not ours.
# (No strict_string_checks: libxkbcommon-x11 hands strndup an unterminated
# buffer with its length, which that check reports as an overflow.)
# Full stacks for every allocation, so that a leak inside a system library
# is matched by the suppressions even where the library has no frame pointers.
export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:fast_unwind_on_malloc=0
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
run_ctest asan --test-dir build-asan -L unit

echo "== Summary"
for log in all asan; do
    [ $log = all ] && echo "-- every test (build/)" || echo "-- unit and widget tests (build-asan/)"
    sed -n '/tests passed/,$p' "$logs/$log"
done
if [ $status -eq 0 ]; then echo "test.sh: all passed"; else echo "test.sh: FAILED"; fi
exit $status
