#!/usr/bin/python3
"""A GTK 3 program that starts a real file drag, as the file managers of GNOME
and Xfce do: a window titled "GTK drag source" whose press drags its files as
text/uri-list. Usage: gtk_drag_source.py X Y FILE...  Prints "ready" once the
window is on screen and "dropped" after each drag that ended."""
import sys

import gi

gi.require_version("Gtk", "3.0")
from gi.repository import Gdk, GLib, Gtk  # noqa: E402

x, y, files = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3:]
uris = [GLib.filename_to_uri(f, None) for f in files]

window = Gtk.Window(title="GTK drag source")
window.set_default_size(200, 140)
window.move(x, y)
area = Gtk.EventBox()
window.add(area)
area.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [], Gdk.DragAction.COPY | Gdk.DragAction.MOVE)
area.drag_source_add_uri_targets()
area.connect("drag-data-get", lambda w, ctx, data, info, time: data.set_uris(uris))
area.connect("drag-end", lambda *a: print("dropped", flush=True))


def shown(*_):
    print("ready", flush=True)
    return False


window.connect("map-event", shown)
window.connect("destroy", Gtk.main_quit)
window.show_all()
Gtk.main()
