#!/usr/bin/env bash
# Times the C3D import in a release build: c3d2rf as a whole process (--list and a
# conversion, RUNS times each), then the conversion alone and the import in the real
# program on an X display of its own (Xvfb).
#
#   bench/c3d_import.sh [FILE.c3d] [RUNS]    (default: a gait trial built by bench_c3d)
#   TOOL_ONLY=1 bench/c3d_import.sh FILE.c3d  c3d2rf alone (--list, one plate, --all)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build-bench"
runs=${2:-20}
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DORVANE_BENCH=ON -DORVANE_TESTS=OFF >/dev/null
if [ -n "${TOOL_ONLY:-}" ]; then
    cmake --build "$build" -j2 --target c3d2rf >/dev/null
else
    cmake --build "$build" -j2 --target c3d2rf bench_c3d >/dev/null
fi
work=$(mktemp -d)
trap 'rm -rf "$work"; [ -n "${xvfb:-}" ] && kill $xvfb' EXIT

file=${1:-}
if [ -n "$file" ]; then
    file=$(realpath "$file")
    export ORVANE_C3D=$file
    (
        cd "$work"
        for mode in list convert all; do
            start=$(date +%s%N)
            for ((i = 0; i < runs; i++)); do
                if [ $mode = list ]; then
                    "$build/program/c3d2rf" --list "$file" >/dev/null 2>&1
                elif [ $mode = all ]; then
                    "$build/program/c3d2rf" --all "$file" 2>/dev/null || true
                    rm -f ./*.RF
                else
                    "$build/program/c3d2rf" "$file" out.rf 2>/dev/null
                    rm -f out.rf
                fi
            done
            end=$(date +%s%N)
            echo "c3d2rf $mode: $(((end - start) / runs / 1000)) us per process (mean of $runs)"
        done
    )
fi

[ -n "${TOOL_ONLY:-}" ] && exit 0
display=:$((200 + RANDOM % 500))
Xvfb "$display" -screen 0 1280x900x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
DISPLAY=$display XDG_CONFIG_HOME=$work QT_QPA_PLATFORM=xcb "$build/bench/bench_c3d"
