"""What every end-to-end scenario needs: start the program in the scenario's own
folders, find its windows and controls on the accessibility bus, act through xdotool
as a user does, and fail with a screenshot and a clear message.

A scenario is a script in scenarios/ that calls scenario(body); body receives a
Session. run.sh prepares the display, the buses and the folders in the environment.
"""

import configparser
import os
import shutil
import signal
import subprocess
import sys
import time
import traceback

import pyatspi

DEFAULT_TIMEOUT = 15.0


class ScenarioFailed(Exception):
    pass


def fail(message):
    raise ScenarioFailed(message)


def expect_equal(actual, expected, what):
    if actual != expected:
        fail(f"{what}: expected {expected!r}, got {actual!r}")


def wait_until(probe, what, timeout=DEFAULT_TIMEOUT, interval=0.1):
    """Polls probe() until it gives something true and returns that; fails after timeout."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            value = probe()
            if value:
                return value
        except ScenarioFailed:
            raise
        except Exception as error:  # a window going away under the probe is normal
            last_error = error
        if time.monotonic() > deadline:
            detail = f" (last error: {last_error})" if last_error else ""
            fail(f"timed out after {timeout:.0f} s waiting for {what}{detail}")
        time.sleep(interval)


# ---------------------------------------------------------------------------------
# Reading the accessibility tree

ROLE_NAMES = {
    "button": pyatspi.ROLE_PUSH_BUTTON,
    "label": pyatspi.ROLE_LABEL,
    "text": pyatspi.ROLE_TEXT,
    "list": pyatspi.ROLE_LIST,
    "list item": pyatspi.ROLE_LIST_ITEM,
    "combo box": pyatspi.ROLE_COMBO_BOX,
    "frame": pyatspi.ROLE_FRAME,
    "dialog": pyatspi.ROLE_DIALOG,
    "alert": pyatspi.ROLE_ALERT,
    "menu": pyatspi.ROLE_MENU,
    "menu item": pyatspi.ROLE_MENU_ITEM,
    "menu bar": pyatspi.ROLE_MENU_BAR,
    "check box": pyatspi.ROLE_CHECK_BOX,
    "radio button": pyatspi.ROLE_RADIO_BUTTON,
    "progress bar": pyatspi.ROLE_PROGRESS_BAR,
    "status bar": pyatspi.ROLE_STATUS_BAR,
}

# Roles whose children are data rows: walked only when asked, as a listing of
# thousands of lines would make every search slow.
ROW_CONTAINERS = {pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE}


def role_of(acc):
    return acc.getRole()


def is_showing(acc):
    try:
        return acc.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def is_enabled(acc):
    return acc.getState().contains(pyatspi.STATE_ENABLED)


def text_of(acc):
    """What a screen reader reads as the control's content: its text when it has a
    text interface, else its name."""
    try:
        text = acc.queryText()
        return text.getText(0, -1)
    except NotImplementedError:
        return acc.name
    except Exception:
        return acc.name


def children(acc):
    try:
        count = acc.childCount
    except Exception:
        return []
    result = []
    for i in range(count):
        try:
            child = acc.getChildAtIndex(i)
        except Exception:
            continue
        if child is not None:
            result.append(child)
    return result


def descendants(acc, into_rows=False):
    stack = [acc]
    while stack:
        node = stack.pop()
        for child in reversed(children(node)):
            yield child
            if into_rows or role_of(child) not in ROW_CONTAINERS:
                stack.append(child)


def describe(acc):
    try:
        return f"{acc.getRoleName()} {acc.name!r}"
    except Exception:
        return "<gone>"


def find_all(root, role=None, name=None, showing=True, into_rows=False, where=None):
    wanted_role = ROLE_NAMES[role] if isinstance(role, str) else role
    found = []
    for node in descendants(root, into_rows):
        try:
            if wanted_role is not None and role_of(node) != wanted_role:
                continue
            # Captions wrapped onto several lines are found by their words; a label
            # that shows a value is found by the caption that describes it.
            if name is not None and node.name.split() != name.split() and \
                    (node.description or "").split() != name.split():
                continue
            if showing and not is_showing(node):
                continue
            if where is not None and not where(node):
                continue
        except Exception:
            continue
        found.append(node)
    return found


def rows(list_acc):
    """The lines of a list, as the screen reader reads them."""
    return [child.name for child in children(list_acc)]


# ---------------------------------------------------------------------------------
# Acting as the user

def xdotool(*args):
    result = subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=20)
    if result.returncode != 0:
        fail(f"xdotool {' '.join(args)} failed: {result.stderr.strip()}")
    return result.stdout


def centre(acc):
    box = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    if box.width <= 0 or box.height <= 0:
        fail(f"{describe(acc)} has no area on screen")
    return box.x + box.width // 2, box.y + box.height // 2


def click(acc, button=1, double=False):
    x, y = centre(acc)
    xdotool("mousemove", "--sync", str(x), str(y))
    time.sleep(0.05)
    if double:
        xdotool("click", "--repeat", "2", "--delay", "80", str(button))
    else:
        xdotool("click", str(button))


def key(*keys):
    """Presses keys in order (xdotool names: ctrl+v, space, Escape, Return, alt+p)."""
    for k in keys:
        xdotool("key", "--clearmodifiers", k)
        time.sleep(0.08)


def type_text(text):
    xdotool("type", "--delay", "20", text)


def screenshot(path):
    subprocess.run(["import", "-window", "root", path], capture_output=True, timeout=30)


# ---------------------------------------------------------------------------------
# The program under test

class Session:
    def __init__(self):
        self.name = os.environ["E2E_NAME"]
        self.case_dir = os.environ["E2E_CASE_DIR"]
        self.build = os.environ["ORVANE_BUILD"]
        self.artifacts = os.environ["E2E_ARTIFACTS"]
        self.program_dir = os.path.join(self.build, "program")
        self.data_dir = os.path.realpath(os.path.join(self.case_dir, "data"))
        self.config_dir = os.environ["XDG_CONFIG_HOME"]
        self.state_dir = os.environ["XDG_STATE_HOME"]
        self.process = None
        self._app = None
        self.notes = []
        self.problems = []  # failed checks that do not stop the scenario

    # --- starting and ending -------------------------------------------------------
    def start(self, *args, program_dir=None, cwd=None, env=None):
        """Starts orvane with the given arguments in the data folder (or cwd), with
        KINEMORA naming the program folder, and waits for it on the accessibility bus."""
        environment = dict(os.environ)
        environment["KINEMORA"] = program_dir or self.program_dir
        if env:
            environment.update(env)
        self.process = subprocess.Popen(
            [os.path.join(self.program_dir, "orvane"), *args],
            cwd=cwd or self.data_dir, env=environment,
            stdout=open(os.path.join(self.case_dir, "orvane.out"), "w"),
            stderr=subprocess.STDOUT, start_new_session=True)
        with open(os.path.join(self.case_dir, "pids"), "a") as pids:
            pids.write(f"{self.process.pid}\n")
        self._app = None
        return self.app()

    def app(self, timeout=DEFAULT_TIMEOUT):
        if self._app is not None:
            return self._app

        def probe():
            if self.process.poll() is not None:
                fail(f"orvane ended at start with status {self.process.returncode}: "
                     f"{self.program_output()}")
            desktop = pyatspi.Registry.getDesktop(0)
            for app in children(desktop):
                try:
                    if app.get_process_id() == self.process.pid:
                        return app
                except Exception:
                    continue
            return None

        self._app = wait_until(probe, "orvane on the accessibility bus", timeout)
        return self._app

    def program_output(self):
        try:
            with open(os.path.join(self.case_dir, "orvane.out")) as out:
                return out.read()[-3000:]
        except OSError:
            return ""

    def wait_ended(self, timeout=DEFAULT_TIMEOUT):
        deadline = time.monotonic() + timeout
        while self.process.poll() is None:
            if time.monotonic() > deadline:
                fail("orvane did not end")
            time.sleep(0.1)
        return self.process.returncode

    def stop(self):
        if self.process and self.process.poll() is None:
            try:
                os.killpg(self.process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self.process.wait(timeout=10)

    # --- windows -------------------------------------------------------------------
    def windows(self):
        app = self.app()
        app.clear_cache()
        return [w for w in children(app) if is_showing(w)]

    def window(self, title, timeout=DEFAULT_TIMEOUT):
        """The program's showing top-level window with this title."""
        def probe():
            if self.process.poll() is not None:
                fail(f"orvane ended (status {self.process.returncode}) while waiting for "
                     f"window {title!r}: {self.program_output()}")
            for w in self.windows():
                if w.name == title:
                    return w
            return None
        return wait_until(probe, f"window {title!r} (open: {self.window_titles()})", timeout)

    def window_titles(self):
        try:
            return [w.name for w in self.windows()]
        except Exception:
            return []

    def no_window(self, title, timeout=DEFAULT_TIMEOUT):
        wait_until(lambda: title not in self.window_titles(), f"window {title!r} to close",
                   timeout)

    def activate(self, title):
        """Raises and focuses the window through the window manager, as a click on it would."""
        ids = wait_until(lambda: xdotool_search(self.process.pid, title),
                         f"X window {title!r}")
        subprocess.run(["xdotool", "windowactivate", "--sync", ids[-1]], capture_output=True,
                       timeout=10)
        time.sleep(0.2)
        return ids[-1]

    # --- controls ------------------------------------------------------------------
    def control(self, window, role, name, timeout=DEFAULT_TIMEOUT, showing=True):
        def probe():
            window.clear_cache()
            found = find_all(window, role, name, showing=showing)
            return found[0] if found else None
        return wait_until(probe, f"{role} {name!r} in {window.name!r}", timeout)

    def read(self, window, role, name, expected, timeout=DEFAULT_TIMEOUT):
        """Waits until the control reads `expected` through the bus; fails naming what it read."""
        acc = self.control(window, role, name, timeout)
        seen = []
        began = time.monotonic()

        def probe():
            acc.clear_cache()
            value = text_of(acc)
            seen.append(value)
            # A label that gives only its accessible name will never show its text.
            if (value != expected and value == name and role == "label"
                    and time.monotonic() - began > 1.0):
                raise ScenarioFailed("name only")
            return value == expected
        try:
            wait_until(probe, f"{role} {name!r} to read {expected!r}", timeout)
        except ScenarioFailed:
            read = seen[-1] if seen else None
            hint = (" (a screen reader hears only the accessible name, not the text shown)"
                    if read == name and role == "label" else "")
            fail(f"{role} {name!r} in {window.name!r} reads {read!r}, expected {expected!r}"
                 + hint)
        return acc

    def check(self, step, *args, **kwargs):
        """Runs one check and notes its failure without ending the scenario, so one run
        reports every wrong text at once."""
        try:
            return step(*args, **kwargs)
        except ScenarioFailed as problem:
            self.problems.append(str(problem))
            print(f"check failed: {problem}", flush=True)
            return None

    def click_close_box(self, title):
        """Clicks the close box that the window manager draws at the right end of the
        window's title bar."""
        window_id = self.activate(title)
        # xwininfo gives the client area's true place; the frame lies around it.
        geometry = {}
        for line in subprocess.run(["xwininfo", "-id", window_id], capture_output=True,
                                   text=True, timeout=10).stdout.splitlines():
            name, _, value = line.strip().partition(":")
            if value.strip().lstrip("-").isdigit():
                geometry[name] = int(value)
        extents = subprocess.run(["xprop", "-id", window_id, "_NET_FRAME_EXTENTS"],
                                 capture_output=True, text=True, timeout=10).stdout
        try:
            left, right, top, bottom = (int(v) for v in extents.split("=")[1].split(","))
        except (IndexError, ValueError):
            fail(f"no frame extents for {title!r}: {extents!r}")
        x = geometry["Absolute upper-left X"] + geometry["Width"] + right - 12
        y = geometry["Absolute upper-left Y"] - top // 2
        xdotool("mousemove", "--sync", str(x), str(y))
        time.sleep(0.1)
        xdotool("click", "1")

    def menu(self, window, *path):
        """Chooses a menu command with the mouse: the menu bar's title, then each item."""
        bar = self.control(window, "menu bar", None)
        click(self.control(bar, "menu item", path[0]))
        for name in path[1:]:
            def probe():
                window.clear_cache()
                for item in find_all(window, "menu item", name):
                    if role_of(item.parent) in (pyatspi.ROLE_POPUP_MENU, pyatspi.ROLE_MENU):
                        return item
                return None
            item = wait_until(probe, f"menu item {name!r}")
            time.sleep(0.2)
            click(item)
            time.sleep(0.2)

    # --- files the run leaves ------------------------------------------------------
    def settings(self, application="Kinemora"):
        path = os.path.join(self.config_dir, "kinemora", application + ".ini")
        parser = configparser.ConfigParser(interpolation=None, strict=False)
        parser.optionxform = str
        if os.path.exists(path):
            parser.read(path)
        return parser

    def suite_log(self):
        path = os.path.join(self.state_dir, "kinemora", "suite.log")
        if not os.path.exists(path):
            return []
        with open(path) as log:
            return [line.rstrip("\n").split("\t") for line in log if line.strip()]

    def note(self, text):
        self.notes.append(text)
        print(text, flush=True)


def xdotool_search(pid, title):
    result = subprocess.run(["xdotool", "search", "--all", "--onlyvisible", "--pid", str(pid), "--name",
                             "^" + _regex_escape(title) + "$"],
                            capture_output=True, text=True, timeout=10)
    return result.stdout.split()


def _regex_escape(text):
    return "".join("\\" + c if c in ".^$*+?()[]{}|\\" else c for c in text)


# ---------------------------------------------------------------------------------
# Accessibility: every control a user reads or operates has a name or text

OPERATED = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON,
            pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_LIST, pyatspi.ROLE_TEXT,
            pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_SLIDER, pyatspi.ROLE_PAGE_TAB,
            pyatspi.ROLE_MENU, pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_PROGRESS_BAR,
            pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_CANVAS, pyatspi.ROLE_IMAGE}


def unnamed_controls(window):
    """The showing controls of a window that a screen reader could not name: buttons,
    boxes, lists, fields and pictures without an accessible name, and labels that
    say nothing at all."""
    gaps = []
    for node in descendants(window):
        try:
            if not is_showing(node):
                continue
            role = role_of(node)
            if role in OPERATED and not node.name.strip():
                gaps.append(describe(node) + _where(node))
        except Exception:
            continue
    return gaps


def _where(acc):
    try:
        box = acc.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
        return f" at ({box.x}, {box.y}) size {box.width}x{box.height}"
    except Exception:
        return ""


def expect_named(session, window):
    gaps = unnamed_controls(window)
    if gaps:
        fail(f"controls without an accessible name in {window.name!r}: " + "; ".join(gaps))


# ---------------------------------------------------------------------------------

def scenario(body):
    """Runs one scenario: exit 0 when it passes, 1 with a screenshot when it fails."""
    session = Session()
    status = 0
    try:
        body(session)
        if session.problems:
            fail(f"{len(session.problems)} check(s) failed:\n  " + "\n  ".join(session.problems))
        print(f"{session.name}: passed")
    except Exception as error:
        status = 1
        shot = os.path.join(session.artifacts, session.name + ".png")
        screenshot(shot)
        if isinstance(error, ScenarioFailed):
            print(f"{session.name}: FAILED: {error}")
        else:
            traceback.print_exc()
        print(f"screenshot: {shot}")
        output = session.program_output().strip()
        if output:
            print("program output:\n" + output)
    finally:
        session.stop()
    sys.exit(status)
