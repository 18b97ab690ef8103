#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A GTK 3 window titled "Drag source" at X, Y whose press starts a real drag
of FILE... as text/uri-list, as a file manager does, offering to copy or move.
Usage: drag_source.py X Y FILE...  Prints "ready" once the window is on screen
and "dropped ACTION" after each drag (copy, move or none)."""
import sys

import gi

gi.require_version("Gtk", "3.0")
from gi.repository import Gdk, GLib, Gtk  # noqa: E402

x, y, files = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3:]
uris = [GLib.filename_to_uri(f, None) for f in files]
ACTIONS = {Gdk.DragAction.COPY: "copy", Gdk.DragAction.MOVE: "move"}

window = Gtk.Window(title="Drag source")
window.set_default_size(200, 140)
window.move(x, y)
area = Gtk.EventBox()
window.add(area)
area.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [], Gdk.DragAction.COPY | Gdk.DragAction.MOVE)
area.drag_source_add_uri_targets()
area.connect("drag-data-get", lambda w, ctx, data, info, time: data.set_uris(uris))
area.connect("drag-end", lambda w, ctx: print(
    "dropped", ACTIONS.get(ctx.get_selected_action(), "none"), flush=True))
window.connect("map-event", lambda *_: print("ready", flush=True))
window.connect("destroy", Gtk.main_quit)
window.show_all()
Gtk.main()
