"""Expected values of the sample trials, taken from the program's own console reader
(rfdump), so the scenarios compare the windows against the file rather than against
numbers copied into them."""

import os
import subprocess


def trial_facts(session, file_name):
    result = subprocess.run([os.path.join(session.program_dir, "rfdump"),
                             os.path.join(session.data_dir, file_name)],
                            capture_output=True, text=True, timeout=30)
    facts = {"records": None, "rows": []}
    for line in result.stdout.splitlines():
        if line.startswith("# records: "):
            facts["records"] = int(line.split(": ", 1)[1])
        elif line.startswith("# title: "):
            facts["title"] = line.split(": ", 1)[1]
        elif line.startswith("# sampling_rate: "):
            facts["rate"] = line.split(": ", 1)[1]
        elif line.startswith("# body_weight: "):
            facts["weight"] = line.split(": ", 1)[1]
        elif line and line[0].isdigit():
            facts["rows"].append([float(v) for v in line.split(",")])
    if facts["records"] is None:
        raise RuntimeError(f"rfdump could not read {file_name}: {result.stderr}")
    return facts


def format_field(value):
    """Ten columns, right-aligned, four decimals, halves rounded away from zero."""
    from decimal import Decimal, ROUND_HALF_UP
    text = str(Decimal(repr(value)).quantize(Decimal("0.0001"), rounding=ROUND_HALF_UP))
    if text.startswith("-") and float(text) == 0:
        text = text[1:]
    return text.rjust(10)
