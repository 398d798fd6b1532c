"""Ctrl+T opens Compare Trials on the data folder; Space checks three trials from the
keyboard, and the table read through the bus holds one row per trial with the file's
title, rate, weight and record count (and, where rfstats is installed, its very rows)."""

import csv
import io
import os
import subprocess
import pyatspi

from common_data import trial_facts
from orvane_e2e import expect_equal, expect_named, fail, key, scenario, wait_until

MAIN = "Orvane System"
COMPARE = "Compare Trials"
TRIALS = ["JUMP01.RF", "STAND01.RF", "WALK01.RF"]


def number(text):
    return f"{float(text):.6g}"


def table_rows(table):
    """The table's cells row by row, as a screen reader reads them."""
    table.clear_cache()
    cells = table.queryTable()
    return [[cells.getAccessibleAt(r, c).name for c in range(cells.nColumns)]
            for r in range(cells.nRows)]


def body(s):
    s.start(";")
    s.window(MAIN)
    s.activate(MAIN)
    key("ctrl+t")
    window = s.window(COMPARE)
    s.check(expect_named, s, window)

    s.activate(COMPARE)
    key("alt+r")  # "T&rials:"
    key("Home")
    for i, _ in enumerate(TRIALS):
        key("space")
        if i + 1 < len(TRIALS):
            key("Down")

    table = s.control(window, pyatspi.ROLE_TABLE, "Numbers")
    rows = wait_until(lambda: (lambda r: r if len(r) == len(TRIALS) else None)(table_rows(table)),
                      "three rows in the table")
    header = [table.queryTable().getColumnDescription(c) or
              table.queryTable().getColumnHeader(c).name
              for c in range(table.queryTable().nColumns)]
    expect_equal(header[:6], ["file", "title", "rate_hz", "body_weight_n", "records", "contact"],
                 "the table's first headings")
    for name, row in zip(TRIALS, rows):
        facts = trial_facts(s, name)
        s.check(expect_equal, row[0], name, f"{name}: file")
        s.check(expect_equal, row[1], facts["title"].strip(), f"{name}: title")
        s.check(expect_equal, row[2], number(facts["rate"]), f"{name}: rate_hz")
        s.check(expect_equal, row[3], number(facts["weight"]), f"{name}: body_weight_n")
        s.check(expect_equal, row[4], str(facts["records"]), f"{name}: records")

    # Walking is one stance: its peak is the highest Fz of the file.
    walk = trial_facts(s, "WALK01.RF")
    s.check(expect_equal, rows[2][9], number(max(r[3] for r in walk["rows"])),
            "WALK01.RF: peak_fz_n")

    rfstats = os.path.join(s.program_dir, "rfstats")
    if os.path.exists(rfstats):
        out = subprocess.run([rfstats, *TRIALS], cwd=s.data_dir, capture_output=True,
                             text=True, timeout=30).stdout
        expected = list(csv.reader(io.StringIO(out)))[1:]
        s.check(expect_equal, rows, expected, "the table against rfstats")
    else:
        s.note("rfstats is not built here; the rows were checked against rfdump's facts")


scenario(body)
