#!/bin/sh
# rfdump against the same conversion written with pandas.read_fwf, each as a
# whole process on the benchmark's 5000-record force file.
#
#   bench/rfdump_vs_pandas.sh [BUILD_DIR]     (default: build-reader-bench)
#
# Needs python3-pandas; uses hyperfine when installed, else a timing loop.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build-reader-bench}
rfdump=$build/program/rfdump
bench=$build/bench/bench_rfreader
runs=${RUNS:-30}

for program in "$rfdump" "$bench"; do
    if [ ! -x "$program" ]; then
        echo "missing $program: build with -DORVANE_BENCH=ON -DCMAKE_BUILD_TYPE=Release" >&2
        exit 1
    fi
done
# Debian's python3-pandas lives with the system's Python, not a user-installed one.
python=${PYTHON:-python3}
[ -x /usr/bin/python3 ] && [ -z "${PYTHON:-}" ] && python=/usr/bin/python3
"$python" -c 'import pandas' 2>/dev/null || { echo "python3-pandas is not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sample=$work/BENCH01.RF
"$bench" --write-sample "$sample"

cat > "$work/rf_pandas.py" <<'PY'
import sys
import pandas as pd

path = sys.argv[1]
with open(path, "rb") as f:
    head = [f.readline().decode("latin-1").rstrip("\r\n").ljust(80) for _ in range(64)]

def number(text):
    try:
        return float(text.replace(" ", "").replace("D", "E") or 0)
    except ValueError:
        return 0.0

# Title, subject and header cards up to the blank separator card.
title, rate, weight, extra, skip = "no title", 0.0, 0.0, "Extra", 0
if head[0][0] != " ":
    title, rate, skip = head[0][:40], number(head[0][60:70]), 1
    if head[1][0] != " ":
        weight, skip = number(head[1][60:70]), 2
        last = head[1]
        while head[skip][0] != " ":
            last = head[skip]
            skip += 1
        skip += 1
        name = last[60:70].strip()
        extra = "Az" if name == "Ay" else (name or "Extra")

names = ["Fx", "Fy", "Fz", "Ax", "Ay", "Mz", "Extra", "RecordNo"]
spans = [(0, 10), (10, 20), (20, 30), (30, 40), (40, 50), (50, 60), (60, 70), (70, 79)]
data = pd.read_fwf(path, colspecs=spans, names=names, header=None, skiprows=skip,
                   nrows=5000, encoding="latin-1")
data = data.fillna(0)
data["Mz"] = data["Mz"].astype("float32")
data["RecordNo"] = data["RecordNo"].round().astype("int16")
data.insert(0, "record", range(1, len(data) + 1))

out = sys.stdout
out.write(f"# title: {title.rstrip()}\n# sampling_rate: {rate:g}\n# body_weight: {weight:g}\n")
out.write(f"# records: {len(data)}\n# extra: {extra}\n")
data.to_csv(out, index=False, lineterminator="\n")
PY

echo "file: $(wc -c < "$sample") bytes, $(wc -l < "$sample") lines"
"$rfdump" "$sample" > "$work/rfdump.csv"
"$python" "$work/rf_pandas.py" "$sample" > "$work/pandas.csv"
echo "rows: rfdump $(($(wc -l < "$work/rfdump.csv") - 6)), pandas $(($(wc -l < "$work/pandas.csv") - 6))"

if command -v hyperfine > /dev/null; then
    hyperfine -N --warmup 3 --runs "$runs" \
        --export-markdown "$work/result.md" \
        -n rfdump "$rfdump $sample" \
        -n pandas.read_fwf "$python $work/rf_pandas.py $sample"
    cat "$work/result.md"
else
    time_of() {
        start=$(date +%s%N)
        i=0
        while [ $i -lt "$runs" ]; do
            "$@" > /dev/null
            i=$((i + 1))
        done
        end=$(date +%s%N)
        echo $(((end - start) / runs / 1000))
    }
    a=$(time_of "$rfdump" "$sample")
    b=$(time_of "$python" "$work/rf_pandas.py" "$sample")
    echo "rfdump:          $a us per run"
    echo "pandas.read_fwf: $b us per run"
    echo "ratio:           $((b / (a > 0 ? a : 1)))x"
fi
