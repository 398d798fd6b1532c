"""Starting with a force file on the command line reads it at once: the progress
dialog names the file and counts its records, the main window shows the trial, and
the read stores the data directory."""

from orvane_e2e import expect_equal, expect_named, fail, key, rows, scenario
from common_data import trial_facts

READING = "Reading.    Please wait..."
MAIN = "Orvane System"


def body(s):
    facts = trial_facts(s, "WALK01.RF")
    s.start("WALK01.RF")

    reading = s.window(READING)
    s.read(reading, "text", "Samples per channel", f"Number of records: {facts['records']}")
    s.check(s.read, reading, "text", "Filename:", "WALK01.RF")
    s.check(s.read, reading, "text", "Filetype:", "RF")
    s.control(reading, "button", "Animate")
    s.control(reading, "button", "Done")
    s.check(expect_named, s, reading)

    main = s.window(MAIN)
    s.check(s.read, main, "label", "Trial", "WALK01.RF")
    s.check(s.read, main, "label", "Path", s.data_dir)
    s.check(s.read, main, "label", "Command line", "Orvane.exe WALK01.RF")
    s.check(s.read, main, "label", "Listing is to: DISK FILE", "Listing is to: DISK FILE")
    s.check(s.read, main, "label", "Graphics is to: SCREEN", "Graphics is to: SCREEN")
    for caption in ("Dig. data files", "Models (.CFB)", "Force files", "Output files"):
        s.control(main, "list", caption)
    s.check(expect_named, s, main)

    listed = rows(s.control(main, "list", "Force files"))
    if "WALK01.RF" not in listed:
        fail(f"the force-file list shows {listed}, without WALK01.RF")

    # "&Done" by its access key closes the dialog.
    s.activate(READING)
    key("alt+d")
    s.no_window(READING)

    expect_equal(s.settings().get("Startup", "Datadir", fallback=None), s.data_dir,
                 "Datadir stored by the read")


scenario(body)
