#!/bin/sh
# Builds the readers' fuzzers and runs them for a bounded time, shared between the
# force-file reader (two thirds) and the C3D reader (one third).
#
#   fuzz/run.sh [SECONDS]      (default 60 in all; build in build-fuzz/)
#
# Seeds: fuzz/corpus/ and the suite's sample force files; fuzz/corpus-c3d/ for the
# C3D reader. New inputs go to build-fuzz/corpus*/; a crashing input is written to
# fuzz/crashes/ to be kept as a regression test.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=${BUILD_DIR:-$root/build-fuzz}
seconds=${1:-60}

cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build" -j2

mkdir -p "$build/corpus" "$here/crashes"
for sample in "$root"/suite/samples/*.RF "$root"/suite/samples/*.RF?; do
    [ -f "$sample" ] && cp "$sample" "$build/corpus/"
done

c3d_seconds=$((seconds / 3))
rf_seconds=$((seconds - c3d_seconds))
"$build/fuzz_rfreader" -max_total_time="$rf_seconds" -max_len=65536 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$here/crashes/" \
    "$build/corpus" "$here/corpus"

mkdir -p "$build/corpus-c3d"
"$build/fuzz_c3dreader" -max_total_time="$c3d_seconds" -max_len=65536 -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$here/crashes/" \
    "$build/corpus-c3d" "$here/corpus-c3d"
