"""The keyboard as users of the suite know it: Enter and keypad Enter press the
focused button; Alt+P, Alt+A, Alt+S and Alt+F open their menus at the first press
although a button shares the letter; Ctrl+L reads with Shift or Alt held as well."""

import pyatspi

from common_data import trial_facts
from orvane_e2e import click, find_all, key, role_of, scenario, wait_until

READING = "Reading.    Please wait..."
MAIN = "Orvane System"
ANIMATION = "Display Force Vectors"


def open_menu_item(window, name):
    window.clear_cache()
    for item in find_all(window, "menu item", name):
        if role_of(item.parent) in (pyatspi.ROLE_POPUP_MENU, pyatspi.ROLE_MENU):
            return item
    return None


def body(s):
    facts = trial_facts(s, "STAND01.RF")
    done = f"Number of records: {facts['records']}"
    s.start(";")
    main = s.window(MAIN)
    forces = s.control(main, "list", "Force files")
    line = wait_until(lambda: next((i for i in forces if i.name == "STAND01.RF"), None),
                      "STAND01.RF in the force-file list")
    click(line)
    s.read(main, "label", "Trial", "STAND01.RF")

    # Ctrl+Shift+L reads as Ctrl+L does.
    s.activate(MAIN)
    key("ctrl+shift+l")
    reading = s.window(READING)
    s.read(reading, "text", "Samples per channel", done)

    # The read leaves the focus on "&Animate"; Tab reaches "&Done", keypad Enter presses it.
    s.activate(READING)
    key("Tab", "KP_Enter")
    s.no_window(READING)

    # Ctrl+Alt+L reads again; Enter on the focused "&Animate" opens the animation.
    s.activate(MAIN)
    key("ctrl+alt+l")
    reading = s.window(READING)
    s.read(reading, "text", "Samples per channel", done)
    s.activate(READING)
    key("Return")
    s.window(ANIMATION)
    s.no_window(READING)
    s.click_close_box(ANIMATION)
    s.no_window(ANIMATION)

    # One press of Alt+letter opens the menu, not the button with the same letter.
    for letter, item in (("p", "Analyze"), ("a", "Digitized data (.DG)"),
                         ("s", "Hardcpd"), ("f", "Run a program")):
        s.activate(MAIN)
        key("alt+" + letter)
        wait_until(lambda: open_menu_item(main, item), f"alt+{letter} to open the menu of {item!r}",
                   timeout=5)
        key("Escape")
        wait_until(lambda: not open_menu_item(main, item), f"the menu of {item!r} to close",
                   timeout=5)
        if s.process.poll() is not None or ANIMATION in s.window_titles():
            s.problems.append(f"alt+{letter} pressed a button as well")


scenario(body)
