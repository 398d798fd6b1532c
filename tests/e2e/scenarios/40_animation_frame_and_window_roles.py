"""The animation window opens at its outer size of 10000 x 8100 twips, frame included,
cannot be made smaller, and names the side view's axes from the first picture; the
program's own windows reach a screen reader as windows or dialogs, not fillers."""

import subprocess
import time

import pyatspi

from orvane_e2e import expect_equal, fail, find_all, key, role_of, scenario, wait_until

READING = "Reading.    Please wait..."
MAIN = "Orvane System"
ANIMATION = "Display Force Vectors"
LISTING = "Raw Forces and Centres of Pressure"
ABOUT = "About the Kinemora Motion Analysis System"
READER = "View Acrobat PDF Documents"


def pixels(twips):
    # The screen of the test display has 96 dots per inch.
    return round(twips * 96 / 1440)


def outer_size(window_id):
    """Width and height of the window with the frame the window manager draws."""
    info = subprocess.run(["xwininfo", "-id", window_id], capture_output=True, text=True,
                          timeout=10).stdout
    size = {}
    for line in info.splitlines():
        name, _, value = line.strip().partition(":")
        if name in ("Width", "Height"):
            size[name] = int(value)
    extents = subprocess.run(["xprop", "-id", window_id, "_NET_FRAME_EXTENTS"],
                             capture_output=True, text=True, timeout=10).stdout
    try:
        left, right, top, bottom = (int(v) for v in extents.split("=")[1].split(","))
    except (IndexError, ValueError):
        fail(f"no frame extents: {extents!r}")
    return size["Width"] + left + right, size["Height"] + top + bottom


def expect_role(s, title, role):
    window = s.window(title)
    if role_of(window) != role:
        s.problems.append(f"{title!r} has the role {window.getRoleName()!r}")


def body(s):
    s.start("WALK01.RF")
    s.window(READING)
    s.activate(MAIN)
    key("ctrl+a")
    animation = s.window(ANIMATION)
    for label in ("+Z", "+ Y"):
        if not find_all(animation, "label", label):
            s.problems.append(f"no axis label {label!r} in the side view "
                              f"(labels: {[l.name for l in find_all(animation, 'label')]})")
    expect_role(s, ANIMATION, pyatspi.ROLE_FRAME)

    window_id = s.activate(ANIMATION)
    wanted = (pixels(10000), pixels(8100))
    wait_until(lambda: outer_size(window_id) == wanted,
               f"the outer size {wanted} (it is {outer_size(window_id)})", timeout=5)
    # The smallest the window may be is the size it opened with.
    subprocess.run(["xdotool", "windowsize", window_id, "200", "200"], timeout=10)
    time.sleep(1.0)
    expect_equal(outer_size(window_id), wanted, "outer size after shrinking")

    s.activate(MAIN)
    key("ctrl+v")
    expect_role(s, LISTING, pyatspi.ROLE_FRAME)

    s.activate(MAIN)
    key("alt+h", "a")
    expect_role(s, ABOUT, pyatspi.ROLE_DIALOG)

    s.activate(MAIN)
    key("alt+g")
    expect_role(s, READER, pyatspi.ROLE_FRAME)


scenario(body)
