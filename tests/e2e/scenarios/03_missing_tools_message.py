"""A program folder that lacks some of the suite's tools: one error message lists
them, and the program goes on once it is answered."""

import os
import tempfile

from orvane_e2e import (expect_equal, fail, find_all, key, scenario, text_of, wait_until)

MAIN = "Orvane System"
EXPECTED = (
    "Some programs were not found in the 'program' directory:\n"
    " --> {dir}\n"
    "The following files and 'Orvane.exe' must be in the same directory.\n"
    " --> Marquo.exe\n"
    " --> Scalera.exe\n"
    " --> Tymlyn.bat\n"
    "\n"
    "Some program options will not be activated.  The software needs to be reinstalled.")


def body(s):
    program_dir = tempfile.mkdtemp(prefix="partial-program-", dir=s.case_dir)
    for name in ("tabulo.exe", "chronel.exe", "swivra.exe"):
        os.symlink(os.path.join(s.program_dir, name), os.path.join(program_dir, name))
    s.start(";", program_dir=program_dir)

    def message_box():
        for window in s.windows():
            texts = [text_of(label) for label in find_all(window, "label")]
            for text in texts:
                if text.startswith("Some programs were not found"):
                    return window, text
        return None

    box, text = wait_until(message_box, f"the missing-tools message (open: {s.window_titles()})")
    expect_equal(text, EXPECTED.format(dir=program_dir), "missing-tools message")
    expect_equal(box.name, "Orvane", "title of the message")
    ok = find_all(box, "button", "OK")
    if not ok:
        fail(f"the message has no OK button: {[b.name for b in find_all(box, 'button')]}")

    s.activate("Orvane")
    key("Return")
    s.window(MAIN)


scenario(body)
