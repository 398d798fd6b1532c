"""Prints the accessibility tree of the running orvane windows, as a screen reader
sees it: role, name, text and states. A help for writing scenarios:

    tests/e2e/run.sh BUILD_DIR --exec bash -c \
        'cd "$E2E_CASE_DIR/data" && { "$KINEMORA/orvane" WALK01.RF & sleep 5;
         /usr/bin/python3 "$PYTHONPATH/dump_tree.py" [WINDOW_TITLE]; kill $!; }'
"""

import sys

import pyatspi

from orvane_e2e import children, is_showing, text_of, ROW_CONTAINERS


def dump(node, depth, rows_shown=5):
    try:
        states = node.getState()
        flags = "".join(flag for flag, state in (("s", pyatspi.STATE_SHOWING),
                                                  ("e", pyatspi.STATE_ENABLED),
                                                  ("f", pyatspi.STATE_FOCUSED))
                        if states.contains(state))
        text = text_of(node)
        shown = f" text={text!r}" if text != node.name else ""
        print(f"{'  ' * depth}{node.getRoleName()} {node.name!r}{shown} [{flags}]"
              f" desc={node.description!r}")
    except Exception as error:
        print(f"{'  ' * depth}<{error}>")
        return
    kids = children(node)
    if node.getRole() in ROW_CONTAINERS and len(kids) > rows_shown:
        for kid in kids[:rows_shown]:
            dump(kid, depth + 1)
        print(f"{'  ' * (depth + 1)}... {len(kids) - rows_shown} more")
        return
    for kid in kids:
        dump(kid, depth + 1)


def main():
    wanted = sys.argv[1] if len(sys.argv) > 1 else None
    for app in children(pyatspi.Registry.getDesktop(0)):
        if app.name.lower() != "orvane":
            continue
        for window in children(app):
            if wanted is None or window.name == wanted:
                dump(window, 0)


main()
