"""Ctrl+I imports a C3D file's force plate: the plate with the largest peak is
proposed, the force file is written in the data directory, chosen and read, and the
reading window shows its record count; the trial then lists and animates."""

import struct

from orvane_e2e import click, expect_named, key, scenario, type_text, wait_until

MAIN = "Orvane System"
IMPORT = "Import C3D force plates"
READING = "Reading.    Please wait..."
LISTING = "Raw Forces and Centres of Pressure"
ANIMATION = "Display Force Vectors"
SAMPLES = 6001  # more than a force file holds: pairs are averaged into 3001 records


def parameter(group_id, name, kind, dims, payload):
    body = struct.pack("<bB", kind, len(dims)) + bytes(dims) + payload + b"\0"
    return struct.pack("<bb", len(name), group_id) + name + struct.pack("<h", len(body) + 2) + body


def group(group_id, name):
    return struct.pack("<bb", len(name), -group_id) + name + struct.pack("<h", 3) + b"\0"


def floats(*values):
    return struct.pack(f"<{len(values)}f", *values)


def c3d_file(samples):
    """Two type-2 plates on one frame rate, Intel floats; plate 2 carries 700 N."""
    corners = []
    for centre in (300.0, 800.0):
        for sx, sy in ((1, 1), (-1, 1), (-1, -1), (1, -1)):
            corners += [centre + 200 * sx, 200 - 300 * sy, 0.0]
    params = (parameter(1, b"USED", 2, [], struct.pack("<h", 0))
              + parameter(1, b"SCALE", 4, [], floats(-0.1))
              + parameter(1, b"RATE", 4, [], floats(1000.0))
              + parameter(2, b"USED", 2, [], struct.pack("<h", 12))
              + parameter(2, b"RATE", 4, [], floats(1000.0))
              + parameter(2, b"SCALE", 4, [12], floats(*[1.0] * 12))
              + parameter(2, b"OFFSET", 2, [12], struct.pack("<12h", *[0] * 12))
              + parameter(3, b"USED", 2, [], struct.pack("<h", 2))
              + parameter(3, b"TYPE", 2, [2], struct.pack("<2h", 2, 2))
              + parameter(3, b"CHANNEL", 2, [6, 2], struct.pack("<12h", *range(1, 13)))
              + parameter(3, b"CORNERS", 4, [3, 4, 2], floats(*corners))
              + parameter(3, b"ORIGIN", 4, [3, 2], floats(0, 0, 40, 0, 0, 40))
              + group(1, b"POINT") + group(2, b"ANALOG") + group(3, b"FORCE_PLATFORM")
              + b"\0" * 4)
    section = b"\x01\x50\x01\x54" + params
    blocks = (len(section) + 511) // 512
    section = (section[:2] + bytes([blocks]) + section[3:]).ljust(blocks * 512, b"\0")
    data_block = 2 + blocks
    header = (b"\x02\x50" + struct.pack("<hhhhh", 0, 12, 1, samples, 0) + floats(-0.1)
              + struct.pack("<hh", data_block, 1) + floats(1000.0)).ljust(512, b"\0")
    frame = floats(0, 0, 200, 0, 0, 0, 0, 0, 700, 0, 0, 0)
    data = (frame * samples).ljust((len(frame) * samples + 511) // 512 * 512, b"\0")
    return header + section + data


def body(s):
    with open(f"{s.data_dir}/gait.c3d", "wb") as out:
        out.write(c3d_file(SAMPLES))
    s.start(";")
    main = s.window(MAIN)
    s.activate(MAIN)
    key("ctrl+i")
    s.window("Choose a C3D file")
    type_text("gait.c3d")
    key("Return")

    window = s.window(IMPORT)
    plates = s.control(window, "list", "Plates")
    wait_until(lambda: len([p for p in plates]) == 2, "two plates listed")
    s.check(s.read, window, "text", "Force file", "GAIT_P2.RF")
    s.check(expect_named, s, window)
    click(s.control(window, "button", "Import"))

    reading = s.window(READING)
    s.read(reading, "text", "Samples per channel", "Number of records: 3001")
    s.check(s.read, main, "label", "Trial", "GAIT_P2.RF")

    s.activate(MAIN)
    key("ctrl+v")
    listing = s.window(LISTING)
    s.check(s.read, listing, "text", "Records", "3001")
    s.check(s.read, listing, "text", "Sampling rate (Hz)", "500.00")
    s.activate(MAIN)
    key("ctrl+a")
    animation = s.window(ANIMATION)
    s.check(s.read, animation, "text", "Forces", "3001")


scenario(body)
