"""The Model and Data menus' Notepad commands hand the editor the trial's files as they
lie on disk (WALK01.CFB, WALK01.DG), not names built from the trial with lower-case
extensions that would open empty buffers. The editor is a stand-in named by $VISUAL that
notes the arguments it receives."""

import os
import stat

from orvane_e2e import expect_equal, key, scenario, wait_until

READING = "Reading.    Please wait..."
MAIN = "Orvane System"


def write_editor(s):
    log = os.path.join(s.case_dir, "editor.log")
    script = os.path.join(s.case_dir, "stand-in editor")
    with open(script, "w") as out:
        out.write("#!/bin/sh\n"
                  f"log='{log}'\n"
                  "{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; echo --; } >> \"$log\"\n")
    os.chmod(script, os.stat(script).st_mode | stat.S_IXUSR)
    return script, log


def starts(log):
    """Each start of the editor: its working directory and arguments."""
    if not os.path.exists(log):
        return []
    with open(log) as lines:
        text = lines.read()
    return [block.strip("\n").split("\n") for block in text.split("--\n") if block.strip()]


def body(s):
    for name in ("WALK01.CFB", "WALK01.DG"):
        if not os.path.exists(os.path.join(s.data_dir, name)):
            raise AssertionError(f"the sample trial has no {name}")
    script, log = write_editor(s)
    s.start("WALK01.RF", env={"VISUAL": f'"{script}"', "EDITOR": ""})
    reading = s.window(READING)
    s.control(reading, "button", "Done")
    s.activate(READING)
    key("alt+d")
    s.no_window(READING)
    main = s.window(MAIN)

    s.activate(MAIN)
    s.menu(main, "Model", "View/Edit model with Notepad")
    first = wait_until(lambda: starts(log)[0] if starts(log) else None, "the editor's first start")
    expect_equal(first[1:], ["WALK01.CFB"], "the model file handed to the editor")
    expect_equal(first[0], s.data_dir, "the editor's working directory")

    s.activate(MAIN)
    s.menu(main, "Data", "View/Edit data with Notepad")
    second = wait_until(lambda: starts(log)[1] if len(starts(log)) > 1 else None,
                        "the editor's second start")
    expect_equal(second[1:], ["WALK01.DG"], "the data file handed to the editor")


scenario(body)
