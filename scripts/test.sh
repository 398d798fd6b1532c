#!/usr/bin/env bash
# Builds Orvane with AddressSanitizer and UndefinedBehaviorSanitizer and runs every
# test on the offscreen platform; any sanitizer report fails the run. Then drives the
# real program under X (tests/e2e) and fuzzes the force-file and C3D readers.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/deps.sh"
build="$here/build-test"
# The layers stay apart and no file outgrows a reader: a quick check before the build.
bash "$here/scripts/check_layers.sh" "$here"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DORVANE_SANITIZE=ON
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=0"
export LSAN_OPTIONS="suppressions=$here/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"

# The end-to-end scenarios run the same sanitized program on a real display, so a
# memory fault or a leak met on a user's path fails them too.
unset QT_QPA_PLATFORM
"$here/tests/e2e/run.sh" "$build"

bash "$here/fuzz/run.sh"
