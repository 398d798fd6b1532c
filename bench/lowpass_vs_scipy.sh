#!/bin/sh
# The zero-lag low-pass filter against scipy.signal.filtfilt over the sample trials,
# at several cut-offs: Fx, Fy and Fz must agree to 1e-9 relative.
#
#   bench/lowpass_vs_scipy.sh [BUILD_DIR]     (default: build-bench)
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build-bench}
program=$build/bench/bench_lowpass
if [ ! -x "$program" ]; then
    echo "missing $program: build with -DORVANE_BENCH=ON -DCMAKE_BUILD_TYPE=Release" >&2
    exit 1
fi
python=${PYTHON:-python3}
[ -x /usr/bin/python3 ] && [ -z "${PYTHON:-}" ] && python=/usr/bin/python3

status=0
for fc in 6 10 30 49; do
    "$python" "$here/lowpass_vs_scipy.py" "$program" "$fc" "$here"/../suite/samples/*.RF || status=1
done
[ $status -eq 0 ] && echo "the filter equals scipy.signal.filtfilt on every sample trial"
exit $status
