#!/bin/sh
# rfstats over 1,000 force files of 5,000 records as one process, against the same
# table computed by bench/rfstats_pandas.py (pandas and numpy, written from the
# definitions alone), side by side; then rfstats --lowpass 30 against rfstats, and
# against the Python table filtered by scipy. Every number of the tables is compared.
#
#   bench/rfstats_vs_pandas.sh [BUILD_DIR]     (default: build-bench)
#
# Needs python3-pandas and python3-scipy. TRIALS=DIR keeps the generated files there.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build-bench}
rfstats=$build/program/rfstats
count=${COUNT:-1000}
records=${RECORDS:-5000}
runs=${RUNS:-3}

if [ ! -x "$rfstats" ]; then
    echo "missing $rfstats: build with -DORVANE_BENCH=ON -DCMAKE_BUILD_TYPE=Release" >&2
    exit 1
fi
# Debian's python3-pandas lives with the system's Python, not a user-installed one.
python=${PYTHON:-python3}
[ -x /usr/bin/python3 ] && [ -z "${PYTHON:-}" ] && python=/usr/bin/python3
"$python" -c 'import pandas, scipy' 2>/dev/null || {
    echo "python3-pandas and python3-scipy are needed" >&2
    exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
trials=${TRIALS:-$work/trials}
mkdir -p "$trials"
if [ "$(ls "$trials" | wc -l)" -ne "$count" ]; then
    rm -f "$trials"/*.RF
    "$python" "$here/rfstats_pandas.py" --write-trials "$trials" "$count" "$records"
fi
echo "$count files of $records records: $(du -sh "$trials" | cut -f1)"
cd "$trials"

# Milliseconds of the fastest of N runs of a command; its output is left in $work/out.
best_ms_of() {
    n=$1
    shift
    best=
    i=0
    while [ $i -lt "$n" ]; do
        start=$(date +%s%N)
        "$@" > "$work/out" 2> /dev/null || true
        end=$(date +%s%N)
        ms=$(((end - start) / 1000000))
        if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
        i=$((i + 1))
    done
    echo "$best"
}

c=$(best_ms_of "$runs" "$rfstats" ./*.RF)
cp "$work/out" "$work/rfstats.csv"
p=$(best_ms_of 1 "$python" "$here/rfstats_pandas.py" ./*.RF)
cp "$work/out" "$work/pandas.csv"
l=$(best_ms_of "$runs" "$rfstats" --lowpass 30 ./*.RF)
cp "$work/out" "$work/rfstats30.csv"
s=$(best_ms_of 1 "$python" "$here/rfstats_pandas.py" --lowpass 30 ./*.RF)
cp "$work/out" "$work/scipy30.csv"

echo "rfstats:                 $c ms (fastest of $runs)"
echo "pandas and numpy:        $p ms"
echo "speed-up:                $(awk "BEGIN { printf \"%.1f\", $p / ($c > 0 ? $c : 1) }")x (needs 20x; rfstats needs under 3000 ms)"
echo "rfstats --lowpass 30:    $l ms (fastest of $runs), $(awk "BEGIN { printf \"%.2f\", $l / ($c > 0 ? $c : 1) }")x rfstats (needs at most 1.5x)"
echo "pandas, scipy filtfilt:  $s ms"
status=0
echo "raw tables:"
"$python" "$here/rfstats_pandas.py" --compare "$work/rfstats.csv" "$work/pandas.csv" || status=1
echo "tables filtered at 30 Hz:"
"$python" "$here/rfstats_pandas.py" --compare "$work/rfstats30.csv" "$work/scipy30.csv" || status=1
exit $status
