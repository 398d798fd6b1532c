"""Choosing a force file in the file panel with the mouse makes it the trial, and
"&Load Data" reads it."""

from common_data import trial_facts
import pyatspi

from orvane_e2e import click, expect_named, scenario, wait_until

READING = "Reading.    Please wait..."
MAIN = "Orvane System"


def body(s):
    facts = trial_facts(s, "STAND01.RF")
    s.start(";")
    main = s.window(MAIN)
    forces = s.control(main, "list", "Force files")
    line = wait_until(lambda: next((item for item in forces if item.name == "STAND01.RF"), None),
                      "STAND01.RF in the force-file list")
    click(line)
    s.check(s.read, main, "label", "Trial", "STAND01.RF")
    with open(f"{s.data_dir}/STAND01.RF", newline="") as trial:
        first_line = trial.readline().rstrip("\r\n")
    s.check(s.read, main, "label", "Title", first_line)

    load = s.control(main, "button", "Load Data")
    wait_until(lambda: load.getState().contains(pyatspi.STATE_ENABLED),
               "Load Data to be enabled")
    click(load)
    reading = s.window(READING)
    s.read(reading, "text", "Samples per channel", f"Number of records: {facts['records']}")
    s.check(s.read, reading, "text", "Filename:", "STAND01.RF")
    s.check(expect_named, s, main)


scenario(body)
