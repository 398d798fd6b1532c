"""Closing the main window while the splash is still up ends the program at once,
by the close box or by pressing "E&xit" through the accessibility bus."""

import time

from orvane_e2e import fail, scenario

MAIN = "Orvane System"
ABOUT = "About the Kinemora Motion Analysis System"
# The program must be gone within a second; the rest is room for a loaded machine.
LIMIT = 2.0


def ended_within(s, how):
    closed = time.monotonic()
    try:
        s.wait_ended(timeout=LIMIT)
    except Exception:
        fail(f"orvane still runs {LIMIT:.0f} s after {how} during the splash")
    took = time.monotonic() - closed
    s.note(f"{how}: ended {took:.2f} s after the close")


def splash_up(s):
    if ABOUT not in s.window_titles():
        fail("the splash was gone before the close; the scenario closed too late")


def body(s):
    s.start()
    s.window(ABOUT, timeout=10)
    s.window(MAIN)
    splash_up(s)
    s.click_close_box(MAIN)
    ended_within(s, "the close box")

    s.start()
    s.window(ABOUT, timeout=10)
    main = s.window(MAIN)
    exit_button = s.control(main, "button", "Exit")
    splash_up(s)
    exit_button.queryAction().doAction(0)
    ended_within(s, "E&xit on the accessibility bus")


scenario(body)
