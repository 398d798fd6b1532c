#!/usr/bin/env bash
# Times a 5000-record read in the real program with the progress dialog live, on an
# X display of its own (Xvfb), in a release build.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build-bench"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DORVANE_BENCH=ON -DORVANE_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target bench_read_in_program >/dev/null
display=:$((200 + RANDOM % 500))
Xvfb "$display" -screen 0 1280x900x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb' EXIT
sleep 1
DISPLAY=$display XDG_CONFIG_HOME=$(mktemp -d) QT_QPA_PLATFORM=xcb "$build/bench/bench_read_in_program"
