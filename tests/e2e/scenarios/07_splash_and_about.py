"""A start without a trial shows the About box as a splash for about two seconds;
Help > About Orvane shows it again."""

import time

from orvane_e2e import expect_named, fail, find_all, key, scenario, text_of

MAIN = "Orvane System"
ABOUT = "About the Kinemora Motion Analysis System"


def about_text(window):
    for label in find_all(window, "label"):
        text = text_of(label)
        if "Orvane, version " in text:
            return text
    return None


def body(s):
    s.start()
    shown = time.monotonic()
    about = s.window(ABOUT, timeout=10)
    s.window(MAIN)
    s.no_window(ABOUT, timeout=15)
    lasted = time.monotonic() - shown
    if not 1.0 <= lasted <= 6.0:
        fail(f"the splash stayed {lasted:.1f} s")

    s.activate(MAIN)
    key("alt+h", "a")
    about = s.window(ABOUT)
    text = about_text(about)
    if text is None:
        s.problems.append("no label of the About box reads the about text "
                          f"(labels: {[label.name for label in find_all(about, 'label')]})")
    elif "For use with the Kinemora Motion Analysis System." not in text:
        s.problems.append(f"the about text reads {text!r}")
    s.control(about, "button", "Contact")
    s.check(expect_named, s, about)


scenario(body)
