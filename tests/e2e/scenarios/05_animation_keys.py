"""Ctrl+A opens the animation, which plays at once; Space pauses it with a dialog
that OK answers to go on and Escape answers to stop at a static view."""

import time

from common_data import trial_facts
from orvane_e2e import (expect_equal, expect_named, fail, find_all, is_showing, key, scenario,
                        text_of, wait_until)

READING = "Reading.    Please wait..."
MAIN = "Orvane System"
ANIMATION = "Display Force Vectors"
PAUSE = "Pause mode"


def pause_text(s):
    box = s.window(PAUSE)
    texts = [text_of(label) for label in find_all(box, "label")]
    for text in texts:
        if text.startswith("Frame is "):
            return box, text
    fail(f"the pause dialog says {texts}")


def body(s):
    facts = trial_facts(s, "WALK01.RF")
    s.start("WALK01.RF")
    reading = s.window(READING)
    s.read(reading, "text", "Samples per channel", f"Number of records: {facts['records']}")

    s.activate(MAIN)
    key("ctrl+a")
    animation = s.window(ANIMATION)
    s.check(s.no_window, READING, timeout=5)
    s.check(s.read, animation, "text", "Filename", "WALK01.RF")
    s.check(s.read, animation, "text", "Forces", str(facts["records"]))
    s.check(s.read, animation, "label", facts["title"].ljust(40), facts["title"].ljust(40))
    s.control(animation, "label", "Press space bar to pause.")
    s.control(animation, "button", "Stop")
    s.check(expect_named, s, animation)

    # The frame readout moves while the animation plays.
    frame = s.control(animation, "text", "Frame")
    seen = set()

    def moving():
        frame.clear_cache()
        seen.add(text_of(frame))
        return len(seen) >= 3
    wait_until(moving, "the frame readout to move", timeout=20)

    # Space: the pause dialog; OK goes on.
    s.activate(ANIMATION)
    key("space")
    box, text = pause_text(s)
    lines = text.split("\n")
    expect_equal(len(lines), 5, f"lines of the pause text {text!r}")
    expect_equal(lines[-1], "Press OK to continue or cancel to exit.", "last line of the pause text")
    if not find_all(box, "button", "OK") or not find_all(box, "button", "Cancel"):
        fail("the pause dialog lacks OK or Cancel")
    key("Return")
    s.no_window(PAUSE)
    seen.clear()
    wait_until(moving, "the animation to go on after OK", timeout=20)

    # Space again; Escape answers Cancel and leaves the static view.
    s.activate(ANIMATION)
    key("space")
    pause_text(s)
    key("Escape")
    s.no_window(PAUSE)
    s.control(animation, "button", "Animate")
    wait_until(lambda: not find_all(animation, "button", "Stop"), "Stop to be hidden")
    # Once static, Space does nothing.
    s.activate(ANIMATION)
    key("space")
    time.sleep(1.0)
    if PAUSE in s.window_titles():
        fail("Space opened the pause dialog in the static view")


scenario(body)
