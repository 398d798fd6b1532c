#!/usr/bin/env bash
# Builds Orvane and opens it on the bundled sample data, with the suite's programs
# beside it so every command works.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/deps.sh"
cmake -S "$here" -B "$here/build-release" -DCMAKE_BUILD_TYPE=Release -DORVANE_TESTS=OFF
cmake --build "$here/build-release" -j"$(nproc)"
samples="$here/build-release/samples"
trial=$(cd "$samples" && ls WALK01.RF 2>/dev/null || ls *.RF | head -n 1)
cd "$samples"
KINEMORA="$here/build-release/program" exec "$here/build-release/program/orvane" "$trial"
