"""Whatever way the mouse moves the highlight of the force-file list (a press dragged
to another file, a right click), the highlighted file becomes the trial and
"&Load Data" reads that file."""

import time

import pyatspi

from common_data import trial_facts
from orvane_e2e import centre, click, key, scenario, wait_until, xdotool

READING = "Reading.    Please wait..."
MAIN = "Orvane System"


def line_of(forces, name):
    return wait_until(lambda: next((i for i in forces if i.name == name), None),
                      f"{name} in the force-file list")


def first_line(s, name):
    with open(f"{s.data_dir}/{name}", newline="") as trial:
        return trial.readline().rstrip("\r\n")


def body(s):
    facts = trial_facts(s, "STAND01.RF")
    s.start(";")
    main = s.window(MAIN)
    forces = s.control(main, "list", "Force files")
    jump = line_of(forces, "JUMP01.RF")
    stand = line_of(forces, "STAND01.RF")

    # Press on one file, drag to the other, let go there.
    x, y = centre(jump)
    xdotool("mousemove", "--sync", str(x), str(y))
    xdotool("mousedown", "1")
    time.sleep(0.1)
    _, y2 = centre(stand)
    for step in range(1, 6):
        xdotool("mousemove", "--sync", str(x), str(y + (y2 - y) * step // 5))
        time.sleep(0.05)
    xdotool("mouseup", "1")
    s.check(s.read, main, "label", "Trial", "STAND01.RF")
    s.check(s.read, main, "label", "Title", first_line(s, "STAND01.RF"))

    # A right click chooses as a left click does, and opens the list's context menu,
    # which Escape closes without doing anything.
    click(jump, button=3)
    s.check(s.read, main, "label", "Trial", "JUMP01.RF")
    key("Escape")
    click(stand, button=3)
    s.read(main, "label", "Trial", "STAND01.RF")
    key("Escape")

    load = s.control(main, "button", "Load Data")
    wait_until(lambda: load.getState().contains(pyatspi.STATE_ENABLED),
               "Load Data to be enabled")
    click(load)
    reading = s.window(READING)
    s.read(reading, "text", "Samples per channel", f"Number of records: {facts['records']}")
    s.check(s.read, reading, "text", "Filename:", "STAND01.RF")


scenario(body)
