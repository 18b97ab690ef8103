#!/usr/bin/env python3
"""What an assistive tool sees of an application over AT-SPI: its push
buttons, in order, and pressing one of them.

Usage: wedges_over_atspi.py APPLICATION [LABEL]

Prints "buttons" and the buttons' names, tab-separated, once the application
shows any; with LABEL, then runs that button's press action and prints
"pressed LABEL". Exits 1 when the application or its buttons do not appear
within 10 seconds, 2 when no button is called LABEL."""
import sys
import time

import pyatspi


def buttons_of(node):
    found = []
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is None:
            continue
        if child.getRole() == pyatspi.ROLE_PUSH_BUTTON:
            found.append(child)
        found.extend(buttons_of(child))
    return found


def application_buttons(name, seconds=10):
    desktop = pyatspi.Registry.getDesktop(0)
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for i in range(desktop.childCount):
            application = desktop.getChildAtIndex(i)
            if application is not None and application.name == name:
                found = buttons_of(application)
                if found:
                    return found
        time.sleep(0.1)
    return None


def main():
    buttons = application_buttons(sys.argv[1])
    if buttons is None:
        print(f"no buttons of {sys.argv[1]} appeared", file=sys.stderr)
        return 1
    print("\t".join(["buttons"] + [b.name for b in buttons]), flush=True)
    if len(sys.argv) < 3:
        return 0
    for button in buttons:
        if button.name == sys.argv[2]:
            action = button.queryAction()
            for i in range(action.nActions):
                if action.getName(i) == "Press":
                    action.doAction(i)
                    print("pressed", sys.argv[2], flush=True)
                    return 0
    return 2


if __name__ == "__main__":
    sys.exit(main())
