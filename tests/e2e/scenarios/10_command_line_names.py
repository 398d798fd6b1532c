"""A file named on the command line is taken relative to the directory the program
was started in, wherever the saved data directory lies; the Path label shows the
data directory in its own letter case; a name with a quote and a blank is taken whole
and its title shown at once."""

import os
import shutil
import time

from common_data import trial_facts
from orvane_e2e import fail, scenario

READING = "Reading.    Please wait..."
MAIN = "Orvane System"
ABOUT = "About the Kinemora Motion Analysis System"


def save_datadir(s, path):
    folder = os.path.join(s.config_dir, "kinemora")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "Kinemora.ini"), "w") as ini:
        ini.write(f"[Startup]\nDatadir={path}\n")


def read_at_once(s, name, records, data_dir):
    reading = s.window(READING)
    s.read(reading, "text", "Samples per channel", f"Number of records: {records}")
    s.check(s.read, reading, "text", "Filename:", name)
    main = s.window(MAIN)
    s.check(s.read, main, "label", "Trial", name)
    s.check(s.read, main, "label", "Path", data_dir)
    if ABOUT in s.window_titles():
        s.problems.append(f"the splash showed although {name} was read")


def close(s):
    # Pressed through the bus: the window manager is slow to hand the focus to a
    # second instance of the same program.
    s.control(s.window(MAIN), "button", "Exit").queryAction().doAction(0)
    s.wait_ended()


def body(s):
    facts = trial_facts(s, "STAND01.RF")
    elsewhere = os.path.join(s.case_dir, "elsewhere")
    os.makedirs(elsewhere)
    save_datadir(s, elsewhere)

    # A name with a directory below the start directory, which has capitals in it.
    start = os.path.join(s.case_dir, "MyTrials")
    below = os.path.join(start, "Sub.Dir")
    os.makedirs(below)
    shutil.copy(os.path.join(s.data_dir, "STAND01.RF"), os.path.join(below, "S.RF"))
    s.start("Sub.Dir/S.RF", cwd=start)
    read_at_once(s, "S.RF", facts["records"], below)
    close(s)

    # A bare name in the start directory makes it the data directory.
    save_datadir(s, elsewhere)
    s.start("STAND01.RF", cwd=s.data_dir)
    read_at_once(s, "STAND01.RF", facts["records"], s.data_dir)
    close(s)

    # One argument holding a double quote and a blank names a file whole; its title
    # shows at once, without a click in the list.
    save_datadir(s, elsewhere)
    shutil.copy(os.path.join(s.data_dir, "STAND01.RF"), os.path.join(start, 'a"b c.RF'))
    s.start('a"b c.RF', cwd=start)
    read_at_once(s, 'A"B C.RF', facts["records"], start)
    with open(os.path.join(start, 'a"b c.RF'), encoding="latin-1") as trial:
        first_line = trial.readline().rstrip("\r\n")
    s.check(s.read, s.window(MAIN), "label", "Title", first_line)
    close(s)

    # Another trial file there: chosen, not read, no splash.
    save_datadir(s, elsewhere)
    shutil.copy(os.path.join(s.data_dir, "STAND01.RF"), os.path.join(start, "JUMP1.DG"))
    s.start("JUMP1.DG", cwd=start)
    main = s.window(MAIN)
    s.check(s.read, main, "label", "Trial", "JUMP1.DG")
    s.check(s.read, main, "label", "Path", start)
    time.sleep(1.0)
    titles = s.window_titles()
    if ABOUT in titles or READING in titles:
        fail(f"a data file on the command line opened {titles}")
    close(s)


scenario(body)
