"""A Programs command starts the suite's tool on the current force file, in the data
directory, with the switches the tool expects; the stand-in's log shows exactly that."""

from orvane_e2e import expect_equal, fail, key, rows, scenario, wait_until

READING = "Reading.    Please wait..."
MAIN = "Orvane System"


def started(s, program):
    return [line for line in s.suite_log() if len(line) == 4 and line[1].lower() == program]


def body(s):
    s.start("WALK01.RF")
    reading = s.window(READING)
    s.control(reading, "button", "Done")
    s.activate(READING)
    key("alt+d")
    s.no_window(READING)
    main = s.window(MAIN)

    # Programs > Analyze: Tabulo with /F/I and the file's short name.
    s.activate(MAIN)
    s.menu(main, "Programs", "Analyze")
    line = wait_until(lambda: started(s, "tabulo.exe"), "Tabulo's line in the suite log")[-1]
    expect_equal(line[2], s.data_dir, "Tabulo's working directory")
    expect_equal(line[3], "/F/I WALK01.RF", "Tabulo's arguments")

    # Its output turns up in the output list after a refresh.
    outputs = s.control(main, "list", "Output files")
    s.activate(MAIN)

    def listed():
        key("ctrl+r")
        return "Tabulo.out" in rows(outputs)
    s.check(wait_until, listed, "Tabulo.out in the output list", timeout=10)

    # Programs > Histories > Change Axes: the batch wrapper, which runs the history tool.
    s.activate(MAIN)
    s.menu(main, "Programs", "Histories", "Change Axes")
    line = wait_until(lambda: started(s, "tymlyn.bat"), "Tymlyn's line in the suite log")[-1]
    expect_equal(line[2], s.data_dir, "Tymlyn's working directory")
    expect_equal(line[3], "/A/C/V/H/Z WALK01.RF", "Tymlyn's arguments")
    # The command line names the wrapper as it lies in the program directory, the file
    # that was started (a case-sensitive file system has no other).
    s.check(s.read, main, "label", "Command line",
            s.program_dir + "/tymlyn.bat /A/C/V/H/Z WALK01.RF")


scenario(body)
