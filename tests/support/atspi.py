#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""An assistive tool (AT-SPI, through pyatspi on the system's Python) that the
desktop tests start on their private session bus. Each mode prints its
findings one line at a time, fields tab-separated:

    listen focus        each menu item that takes the focus ("focus", its name
                        and its menu's items)
    listen shown        each label the program named Whirlpane shows
    query selected APP NAME   succeeds when a selected cell of APP is NAME
    query windows APP   each window of APP with its text fields' values
    press APP LABEL     APP's push buttons once it shows any, then presses LABEL
    texts APP           once APP shows an editor, the names of its windows,
                        buttons and labels ("editor"); then, once a menu item
                        takes the focus, that menu's items ("menu")"""
import sys

import pyatspi
from desktop import wait_for

MENU_ITEMS = {pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_CHECK_MENU_ITEM}


def children(node):
    return [c for c in (node.getChildAtIndex(i) for i in range(node.childCount)) if c]


def descendants(node, depth=0):
    """`node` and what lies below it, menus left out: they are large, and
    assistive tools meet them through their events."""
    yield node
    if depth < 40 and node.getRoleName() not in ("menu bar", "menu", "popup menu"):
        for child in children(node):
            yield from descendants(child, depth + 1)


def applications(name):
    return [a for a in children(pyatspi.Registry.getDesktop(0)) if a.name == name]


def found(application, roles):
    """The named objects of `roles` in the first application called
    `application` that shows any, or None."""
    for a in applications(application):
        objects = [n for n in descendants(a) if n.getRole() in roles and n.name]
        if objects:
            return objects
    return None


def report(*fields):
    print("\t".join(fields), flush=True)


def listen(kind):
    def focus(event):
        if event.detail1 == 1 and event.source.getRole() == pyatspi.ROLE_MENU_ITEM:
            parent = event.source.parent
            items = children(parent) if parent else []
            report("focus", event.source.name,
                   *(c.name for c in items if c.getRole() == pyatspi.ROLE_MENU_ITEM))

    def shown(event):
        if event.detail1 == 1 and event.sender.name == "Whirlpane" and (
                event.source.getRole() == pyatspi.ROLE_LABEL):
            report("shown", event.source.name)

    handler, event_type = {"focus": (focus, "object:state-changed:focused"),
                           "shown": (shown, "object:state-changed:showing")}[kind]

    def guarded(event):
        try:
            handler(event)
        except Exception as error:  # the object went away: nothing to report
            print("skipped:", error, file=sys.stderr, flush=True)

    pyatspi.Registry.registerEventListener(guarded, event_type)
    report("listening")
    pyatspi.Registry.start()


def query(kind, application, name=None):
    if kind == "selected":
        for node in (n for a in applications(application) for n in descendants(a)):
            cell = node.getRole() == pyatspi.ROLE_TABLE_CELL
            if cell and node.getState().contains(pyatspi.STATE_SELECTED) and name in (
                    [node.name] + [c.name for c in children(node)]):
                return
        sys.exit(1)
    for window in (w for a in applications(application) for w in children(a)):
        fields = []
        for node in descendants(window):
            if node.getRole() == pyatspi.ROLE_TEXT:
                text = node.queryText()
                fields.append("%s=%s" % (node.name, text.getText(0, text.characterCount)))
        report("window", window.name, *fields)


def press(application, label):
    buttons = wait_for(lambda: found(application, {pyatspi.ROLE_PUSH_BUTTON}), 40, 0.1)
    if not buttons:
        sys.exit("no buttons of %s appeared" % application)
    report("buttons", *(b.name for b in buttons))
    for button in (b for b in buttons if b.name == label):
        action = button.queryAction()
        for i in (i for i in range(action.nActions) if action.getName(i) == "Press"):
            action.doAction(i)
            print("pressed", label, flush=True)
            return
    sys.exit("no button %s to press" % label)


def texts(application):
    from gi.repository import GLib
    editor = wait_for(lambda: found(application, {pyatspi.ROLE_PUSH_BUTTON}) and found(
        application, {pyatspi.ROLE_FRAME, pyatspi.ROLE_WINDOW, pyatspi.ROLE_PUSH_BUTTON,
                      pyatspi.ROLE_LABEL}), 40, 0.2)
    if not editor:
        sys.exit("no editor of %s appeared" % application)
    report("editor", *(n.name for n in editor))
    menu = []

    def focused(event):
        if event.detail1 and event.source is not None and event.source.getRole() in MENU_ITEMS:
            menu.extend(c.name for c in children(event.source.parent)
                        if c.getRole() in MENU_ITEMS and c.name)
            pyatspi.Registry.stop()

    pyatspi.Registry.registerEventListener(focused, "object:state-changed:focused")
    GLib.timeout_add_seconds(120, pyatspi.Registry.stop)
    pyatspi.Registry.start()
    if not menu:
        sys.exit("no menu item of %s took the focus" % application)
    report("menu", *menu)


if __name__ == "__main__":
    try:
        {"listen": listen, "query": query, "press": press, "texts": texts}[sys.argv[1]](
            *sys.argv[2:])
    except Exception as error:  # a query that met a closing window: asked again
        sys.exit("%s: %s" % (type(error).__name__, error))
