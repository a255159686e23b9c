"""Walks veltra-sensor's windows through AT-SPI, as Orca sees them.

Presses "Set com port" (in English or Persian) on the start window, waits for the connected notice
and its OK, then lists every editable field, list and button of each window
with its accessible name; exits 1 when one has none.
"""
import sys
import time

import pyatspi

WANTED = {
    pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_PUSH_BUTTON,
    pyatspi.ROLE_LIST, pyatspi.ROLE_SPIN_BUTTON,
}


def program():
    for _ in range(50):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == "veltra-sensor":
                return app
        time.sleep(0.2)
    sys.exit("veltra-sensor did not appear on the accessibility bus")


def walk(node, depth=0):
    yield node, depth
    for child in node:
        if child is not None:
            yield from walk(child, depth + 1)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def press(app, names):
    for node, _ in walk(app):
        if node.getRole() == pyatspi.ROLE_PUSH_BUTTON and showing(node) and any(n in node.name for n in names):
            node.queryAction().doAction(0)
            return True
    return False


def report(app):
    missing = 0
    for window in app:
        if window is None or not showing(window):
            continue
        print(f"window {window.name!r}")
        for node, depth in walk(window):
            if node.getRole() in WANTED and showing(node) and node.getIndexInParent() >= 0:
                if node.parent is not None and node.parent.getRole() == pyatspi.ROLE_MENU_BAR:
                    continue
                name = node.name.strip()
                # On Linux a combo box's name is its value; an editable one
                # is named by the text inside it (listed next).
                if node.getRole() == pyatspi.ROLE_COMBO_BOX:
                    print(f"  {node.getRoleName():12} (value {name!r})")
                    continue
                print(f"  {node.getRoleName():12} {name!r}")
                if not name:
                    missing += 1
    return missing


app = program()
missing = report(app)
# The buttons by their English or Persian names.
if press(app, ("Set com port", "تنظیم پورت")):
    time.sleep(4)
    press(app, ("OK", "تأیید"))
    time.sleep(3)
    missing += report(app)
print(f"{missing} without a name")
sys.exit(1 if missing else 0)
