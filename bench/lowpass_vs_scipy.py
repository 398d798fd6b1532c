"""The program's low-pass filter (bench_lowpass --filter) against
scipy.signal.filtfilt(*scipy.signal.butter(2, fc / (rate / 2)), x) on force files.

    lowpass_vs_scipy.py BENCH_LOWPASS FC FILE...
"""
import io
import subprocess
import sys

import numpy as np
import scipy.signal

sys.path.insert(0, __file__.rsplit("/", 1)[0])
from rfstats_pandas import read_trial  # noqa: E402

TOLERANCE = 1e-9  # relative, Fx Fy Fz
FLOAT_TOLERANCE = 1e-6  # Mz is kept as a 4-byte float, as the file's table keeps it


def main(program, fc, files):
    failed = 0
    for path in files:
        worst = {}
        _, rate, _, data = read_trial(path)
        out = subprocess.run([program, "--filter", str(fc), path], capture_output=True, text=True)
        if out.returncode != 0:
            print(f"{path}: {out.stderr.strip()}")
            failed += 1
            continue
        ours = np.loadtxt(io.StringIO(out.stdout), delimiter=",", ndmin=2)
        b, a = scipy.signal.butter(2, fc / (rate / 2))
        for i, name in enumerate(("Fx", "Fy", "Fz", "Mz")):
            x = data[name].to_numpy(np.float64)
            if name == "Mz":
                x = x.astype(np.float32).astype(np.float64)
            want = scipy.signal.filtfilt(b, a, x)
            if name == "Mz":
                want = want.astype(np.float32).astype(np.float64)
            # Relative to each value, and to the channel's largest value where a value
            # is near a zero crossing (a relative error there means nothing).
            scale = np.maximum(np.abs(want), 1e-3 * max(np.abs(want).max(), 1e-300))
            error = (np.abs(ours[:, i] - want) / scale).max()
            key = "Mz" if name == "Mz" else "Fx Fy Fz"
            worst[key] = max(worst.get(key, 0.0), error)
            limit = FLOAT_TOLERANCE if name == "Mz" else TOLERANCE
            if error > limit:
                print(f"{path} {name} at {fc} Hz: relative error {error:.3g} over {limit:g}")
                failed += 1
        print(f"{path}: {len(ours)} records at {rate:g} Hz, {fc:g} Hz: "
              + ", ".join(f"{k} {v:.3g}" for k, v in worst.items()))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], float(sys.argv[2]), sys.argv[3:]))
