"""Ctrl+V on the main window lists the force table: one line per record, the file's
header values beside it; a click on a line says the data cannot be edited."""

from common_data import format_field, trial_facts
from orvane_e2e import (children, click, expect_equal, expect_named, fail, find_all, key,
                        scenario, text_of, wait_until)

READING = "Reading.    Please wait..."
MAIN = "Orvane System"
LISTING = "Raw Forces and Centres of Pressure"


def number_pattern(text):
    """####0.00: at least one integer digit, two decimals."""
    return f"{float(text or 0):.2f}"


def line_of(row):
    _, fx, fy, fz, ax, ay, mz, extra, number = row
    fields = "".join(format_field(v) for v in (fx, fy, fz, ax, ay, mz, extra))
    return fields + "     " + (str(int(number)) if number else "")


def body(s):
    facts = trial_facts(s, "WALK01.RF")
    s.start("WALK01.RF")
    reading = s.window(READING)
    s.read(reading, "text", "Samples per channel", f"Number of records: {facts['records']}")

    s.activate(MAIN)
    key("ctrl+v")
    listing = s.window(LISTING)
    # The listing replaces the progress dialog.
    s.check(s.no_window, READING, timeout=5)

    s.check(s.read, listing, "text", "Filename", "WALK01.RF")
    s.check(s.read, listing, "text", "Records", str(facts["records"]))
    s.check(s.read, listing, "text", "Sampling rate (Hz)", number_pattern(facts["rate"]))
    s.check(s.read, listing, "text", "Body weight (N)", number_pattern(facts["weight"]))
    title = s.check(s.control, listing, "text", "Title")
    if title is not None and text_of(title).rstrip() != facts["title"]:
        s.problems.append(f"title reads {text_of(title)!r}, expected {facts['title']!r}")
    # Each heading stands over its column, aligned as the numbers under it.
    s.check(s.read, listing, "label", "Column headings",
            "        Fx        Fy        Fz        Ax        Ay        Mz     Extra     Record")
    # WALK01's last header card names the seventh column Ay, shown as the vertical Az.
    # The label shows "   Az"; the accessibility bus hands on the text without its
    # leading blanks, which a screen reader would not speak anyway.
    s.check(s.read, listing, "label", "Seventh column", "Az")
    s.check(expect_named, s, listing)

    lines = s.control(listing, "list", "Raw forces")
    count = wait_until(lambda: lines.childCount, "the listing's lines")
    expect_equal(count, facts["records"], "lines in the listing")
    for index in (0, 1, count // 2, count - 1):
        row = facts["rows"][index]
        expect_equal(lines.getChildAtIndex(index).name, line_of(row), f"line {index + 1}")

    # A click on a line is answered, and the line stays as it was.
    first = lines.getChildAtIndex(0)
    before = first.name
    click(first)
    box = s.window("External forces")
    said = [text_of(label) for label in find_all(box, "label")]
    if "Force data cannot be edited" not in said:
        fail(f"the box after a click on a line says {said}")
    key("Return")
    s.no_window("External forces")
    expect_equal(lines.getChildAtIndex(0).name, before, "line 1 after the click")

    # "O&K" hides the listing.
    s.activate(LISTING)
    key("alt+k")
    s.no_window(LISTING)


scenario(body)
