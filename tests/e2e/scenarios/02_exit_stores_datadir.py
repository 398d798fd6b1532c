"""Of the ways to close the main window only the button "E&xit" stores the data
directory; the close box does not."""

import os

from orvane_e2e import expect_equal, fail, key, scenario

MAIN = "Orvane System"


def body(s):
    # ";" starts without the splash and reads nothing, so nothing is stored on the way.
    s.start(";")
    main = s.window(MAIN)
    s.control(main, "button", "Exit")
    s.click_close_box(MAIN)
    expect_equal(s.wait_ended(), 0, "exit status after the close box")
    if s.settings().has_option("Startup", "Datadir"):
        fail("closing the window stored Datadir")

    s.start(";")
    main = s.window(MAIN)
    exit_button = s.control(main, "button", "Exit")
    s.activate(MAIN)
    key("alt+x")
    status = s.wait_ended()
    expect_equal(status, 0, "exit status after E&xit")
    expect_equal(s.settings().get("Startup", "Datadir", fallback=None), s.data_dir,
                 "Datadir stored by E&xit")
    ini = os.path.join(s.config_dir, "kinemora", "Kinemora.ini")
    if not os.path.exists(ini):
        fail(f"no settings file at {ini}")


scenario(body)
