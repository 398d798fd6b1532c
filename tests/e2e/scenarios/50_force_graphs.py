"""Ctrl+G after a read shows the force graphs; End puts the last record in the readout,
and the stopped animation beside them shows that record."""

import time

from common_data import format_field, trial_facts
from orvane_e2e import click, expect_named, key, scenario

READING = "Reading.    Please wait..."
MAIN = "Orvane System"
GRAPHS = "Force Graphs"
ANIMATION = "Display Force Vectors"


def readout_of(row, rate):
    index, fx, fy, fz, ax, ay, mz, _, number = row
    field = lambda v: format_field(v).strip()
    parts = [f"Record {int(number)}"]
    if float(rate or 0) > 0:
        parts.append(f"{field((index - 1) / float(rate))} s")
    parts += [f"{name} {field(v)}" for name, v in
              (("Fx", fx), ("Fy", fy), ("Fz", fz), ("Ax", ax), ("Ay", ay), ("Mz", mz))]
    return "   ".join(parts)


def body(s):
    facts = trial_facts(s, "WALK01.RF")
    s.start("WALK01.RF")
    reading = s.window(READING)
    s.read(reading, "text", "Samples per channel", f"Number of records: {facts['records']}")

    s.activate(MAIN)
    key("ctrl+g")
    graphs = s.window(GRAPHS)
    s.check(expect_named, s, graphs)
    s.check(s.read, graphs, "label", "File name", "WALK01.RF")
    s.read(graphs, "label", "Readout", readout_of(facts["rows"][0], facts["rate"]))

    s.activate(GRAPHS)
    key("End")
    last = facts["rows"][-1]
    s.read(graphs, "label", "Readout", readout_of(last, facts["rate"]))

    # The animation opened beside the graphs, stopped, follows the cursor.
    s.activate(MAIN)
    key("ctrl+a")
    animation = s.window(ANIMATION)
    s.activate(ANIMATION)
    click(s.control(animation, "button", "Stop"))
    s.control(animation, "button", "Animate")
    time.sleep(2)  # the pass under way runs to its last record
    s.activate(GRAPHS)
    key("Home")
    s.read(graphs, "label", "Readout", readout_of(facts["rows"][0], facts["rate"]))
    s.check(s.read, animation, "text", "Record", str(int(facts["rows"][0][8])))
    key("End")
    s.check(s.read, animation, "text", "Record", str(int(last[8])))


scenario(body)
