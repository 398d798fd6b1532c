"""The rfstats table written a second time, with pandas and numpy, from the definitions
alone, for bench/rfstats_vs_pandas.sh.

    rfstats_pandas.py [--threshold N] [--lowpass HZ] FILE...   CSV on standard output
    rfstats_pandas.py --compare A.csv B.csv                    check two tables agree
    rfstats_pandas.py --write-trials DIR COUNT RECORDS          force files to time on
"""
import csv
import math
import sys

import numpy as np
import pandas as pd

HEADER = ("file,title,rate_hz,body_weight_n,records,contact,start_s,end_s,contact_time_s,"
          "peak_fz_n,peak_fz_bw,time_to_peak_s,first_peak_fz_n,impulse_fz_ns,"
          "loading_rate_n_per_s,peak_fx_pos_n,peak_fx_neg_n,peak_fy_pos_n,peak_fy_neg_n,"
          "impulse_fx_pos_ns,impulse_fx_neg_ns,impulse_fy_pos_ns,impulse_fy_neg_ns")
MIN_SECONDS = 0.010  # the shortest gap that ends a contact, and the shortest contact
MIN_RECORDS = 2      # the same where a file has no rate
SPANS = [(0, 10), (10, 20), (20, 30), (30, 40), (40, 50), (50, 60), (60, 70), (70, 79)]
NAMES = ["Fx", "Fy", "Fz", "Ax", "Ay", "Mz", "Extra", "RecordNo"]


def number(text):
    try:
        return float(text.replace(" ", "").replace("D", "E") or 0)
    except ValueError:
        return 0.0


def read_trial(path):
    with open(path, "rb") as f:
        head = [f.readline().decode("latin-1").rstrip("\r\n").ljust(80) for _ in range(64)]
    title, rate, weight, skip = "no title", 0.0, 0.0, 0
    if head[0][0] != " ":
        title, rate, skip = head[0][:40], number(head[0][60:70]), 1
        if head[1][0] != " ":
            weight, skip = number(head[1][60:70]), 2
            while head[skip][0] != " ":
                skip += 1
            skip += 1
    data = pd.read_fwf(path, colspecs=SPANS, names=NAMES, header=None, skiprows=skip,
                       nrows=5000, encoding="latin-1").fillna(0)
    return title.strip(), rate, weight, data


def fmt(value):
    if value is None:
        return ""
    text = "%.6g" % value
    return "0" if text == "-0" else text


def quoted(text):
    if any(c in text for c in ',"\r\n'):
        return '"' + text.replace('"', '""') + '"'
    return text


def contacts(f, threshold, rate):
    """(first, last) index pairs, 0-based, of the contacts of the loaded force f."""
    above = np.concatenate(([False], f >= threshold, [False]))
    edges = np.flatnonzero(np.diff(above.astype(np.int8)))
    runs = list(zip(edges[0::2], edges[1::2] - 1))
    joined = []
    for first, last in runs:
        gap = first - joined[-1][1] - 1 if joined else None
        short_gap = gap is not None and (gap / rate < MIN_SECONDS * (1 - 1e-9) if rate
                                         else gap < MIN_RECORDS)
        if short_gap:
            joined[-1][1] = last
        else:
            joined.append([first, last])
    if rate:
        return [(a, b) for a, b in joined if (b - a) / rate >= MIN_SECONDS * (1 - 1e-9)]
    return [(a, b) for a, b in joined if b - a + 1 >= MIN_RECORDS]


def first_peak(f, first, last, peak):
    """The first local maximum before the peak that the force falls from by a tenth of the
    peak before rising over it again; the peak itself when there is none."""
    drop = 0.1 * abs(f[peak])
    seg = f[first:peak + 1]
    if len(seg) < 3:
        return peak
    inner = np.arange(1, len(seg) - 1)
    maxima = inner[(seg[inner] >= seg[inner - 1]) & (seg[inner] >= seg[inner + 1])] + first
    for k in maxima:
        after = f[k + 1:last + 1]
        over = np.flatnonzero(after > f[k])
        valley = after[:over[0]] if len(over) else after
        if len(valley) and f[k] - valley.min() >= drop:
            return int(k)
    return peak


def split_trapezium(v, dt):
    """Areas of the positive and negative parts of the line through v, dt apart."""
    a, b = v[:-1], v[1:]
    same = (a >= 0) & (b >= 0) | (a <= 0) & (b <= 0)
    whole = 0.5 * (a + b) * dt
    pos = whole[same & (a + b > 0)].sum()
    neg = whole[same & (a + b < 0)].sum()
    cross = ~same
    a, b = a[cross], b[cross]
    s = a / (a - b)
    before, after = 0.5 * a * s * dt, 0.5 * b * (1 - s) * dt
    pos += before[a > 0].sum() + after[b > 0].sum()
    neg += before[a < 0].sum() + after[b < 0].sum()
    return pos, neg


def rows(path, threshold, cutoff):
    try:
        title, rate, weight, data = read_trial(path)
    except (OSError, IndexError, pd.errors.EmptyDataError) as error:
        return [[quoted(path), quoted(str(error))] + [""] * 21]
    fx, fy, fz = (data[c].to_numpy(float) for c in ("Fx", "Fy", "Fz"))
    n = len(fz)
    rate = rate if rate > 0 and math.isfinite(rate) else None
    if cutoff:
        import scipy.signal
        b, a = scipy.signal.butter(2, cutoff / (rate / 2))
        fx, fy, fz = (scipy.signal.filtfilt(b, a, c) for c in (fx, fy, fz))
    sign = -1.0 if -min(fz.min(), 0) > max(fz.max(), 0) else 1.0
    f = sign * fz
    lead = [quoted(path), quoted(title), fmt(rate), fmt(weight if weight > 0 else None), str(n)]
    found = contacts(f, threshold, rate)
    if not found:
        return [lead + ["0"] + [""] * 17]
    first, last = found[0]
    cut = first == 0 or last == n - 1
    peak = first + int(np.argmax(f[first:last + 1]))
    fp = first_peak(f, first, last, peak)
    x, y = fx[first:last + 1], fy[first:last + 1]
    dt = 1 / rate if rate else None
    t = (lambda k: k * dt) if rate else (lambda k: None)
    row = lead + ["1", fmt(t(first)), fmt(t(last)), fmt(None if cut else t(last - first)),
                  fmt(f[peak]), fmt(f[peak] / weight if weight > 0 else None), fmt(t(peak - first)),
                  fmt(f[fp])]
    if rate:
        seg = f[first:last + 1]
        impulse = float(((seg[:-1] + seg[1:]) * 0.5 * dt).sum())
        loading = None if cut or fp == first else (f[fp] - f[first]) / ((fp - first) * dt)
        row += [fmt(impulse), fmt(loading)]
    else:
        row += ["", ""]
    row += [fmt(max(0.0, x.max())), fmt(min(0.0, x.min())), fmt(max(0.0, y.max())),
            fmt(min(0.0, y.min()))]
    if rate:
        for v in (x, y):
            pos, neg = split_trapezium(v, dt)
            row += [fmt(pos), fmt(neg)]
    else:
        row += [""] * 4
    return [row]


def compute(args):
    threshold, cutoff, files = 20.0, None, []
    while args:
        a = args.pop(0)
        if a == "--threshold":
            threshold = float(args.pop(0))
        elif a == "--lowpass":
            cutoff = float(args.pop(0))
        else:
            files.append(a)
    out = [HEADER]
    for path in files:
        out += [",".join(r) for r in rows(path, threshold, cutoff)]
    sys.stdout.write("\n".join(out) + "\n")


def compare(a_path, b_path, rel=1e-5, absolute=1e-6):
    """Every field equal as text, or as numbers within rel (relative) or absolute."""
    with open(a_path, newline="") as fa, open(b_path, newline="") as fb:
        a_rows, b_rows = list(csv.reader(fa)), list(csv.reader(fb))
    if len(a_rows) != len(b_rows):
        print(f"row counts differ: {len(a_rows)} and {len(b_rows)}")
        return 1
    numbers = bad = 0
    for i, (ra, rb) in enumerate(zip(a_rows, b_rows)):
        for j, (x, y) in enumerate(zip(ra, rb)):
            if x == y:
                numbers += x != "" and j >= 2
                continue
            try:
                u, v = float(x), float(y)
            except ValueError:
                u = v = None
            if u is None or abs(u - v) > max(rel * max(abs(u), abs(v)), absolute):
                bad += 1
                if bad <= 10:
                    print(f"row {i} {a_rows[0][j]}: {x!r} and {y!r}")
            else:
                numbers += 1
        if len(ra) != len(rb):
            bad += 1
            print(f"row {i}: {len(ra)} and {len(rb)} fields")
    print(f"compared {len(a_rows) - 1} rows, {numbers} numbers: {bad} differ"
          f" (tolerance {rel:g} relative or {absolute:g} absolute)")
    return 1 if bad else 0


def write_trials(folder, count, records):
    """Walking trials at 1000 Hz: a double-humped stance of 0.5-0.8 s with plate noise,
    some on a plate whose Fz is negative under load, some without a body weight."""
    rng = np.random.RandomState(7)
    t = np.arange(records) / 1000.0
    for i in range(count):
        start, length = rng.uniform(0.2, 1.5), rng.uniform(0.5, 0.8)
        s = np.clip((t - start) / length, 0, 1)
        inside = (t >= start) & (t <= start + length)
        w = rng.uniform(550, 900)
        fz = np.where(inside, w * (0.95 * np.sin(np.pi * s) + 0.25 * np.sin(3 * np.pi * s)), 0)
        fz = fz + rng.normal(0, 2.0, records)
        fx = np.where(inside, -0.2 * w * np.sin(2 * np.pi * s), 0) + rng.normal(0, 1.0, records)
        fy = np.where(inside, 0.05 * w * np.sin(np.pi * s), 0) + rng.normal(0, 1.0, records)
        if i % 10 == 3:
            fz = -fz
        weight = "" if i % 20 == 7 else "%.1f" % w
        lines = ["%-60s%10s" % ("WALK%04d walking, trial %d" % (i, i), "1000"),
                 "%-60s%10s" % ("Subject %02d" % (i % 12), weight),
                 "%-60s%10s" % ("Fx        Fy        Fz        Ax        Ay        Mz", "Ay"), ""]
        ax, ay = 5 + 3 * s, 5 + 22 * s
        mz = np.where(inside, 1.5 * np.sin(2 * np.pi * s), 0)
        lines += ["%10.2f%10.2f%10.2f%10.4f%10.4f%10.3f%10.1f%9d" % v
                  for v in zip(fx, fy, fz, ax, ay, mz, np.zeros(records), range(1, records + 1))]
        with open(f"{folder}/WALK{i:04d}.RF", "w", newline="") as out:
            out.write("\r\n".join(lines) + "\r\n")


if __name__ == "__main__":
    if sys.argv[1:2] == ["--compare"]:
        sys.exit(compare(sys.argv[2], sys.argv[3]))
    if sys.argv[1:2] == ["--write-trials"]:
        write_trials(sys.argv[2], int(sys.argv[3]), int(sys.argv[4]))
        sys.exit(0)
    compute(sys.argv[1:])
