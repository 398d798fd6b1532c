#!/bin/sh
# Builds the reader's fuzzer and runs it for a bounded time.
#
#   fuzz/run.sh [SECONDS]      (default 60; build in build-fuzz/)
#
# Seeds: fuzz/corpus/ and the suite's sample force files. New inputs go to
# build-fuzz/corpus/; a crashing input is written to fuzz/crashes/ to be kept as
# a regression test.
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

"$build/fuzz_rfreader" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$here/crashes/" \
    "$build/corpus" "$here/corpus"
