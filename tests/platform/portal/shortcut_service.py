#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A desktop's global-shortcut service as the portal (xdg-desktop-portal)
calls it: it binds whatever it is asked, and presses a shortcut when a test
calls Press."""
import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

SERVICE = "org.freedesktop.impl.portal.GlobalShortcuts"
TEST = "org.whirlpane.Test"


class Shortcuts(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, "/org/freedesktop/portal/desktop")
        self.sessions = []
        self.bound = {}

    @dbus.service.method(SERVICE, in_signature="oosa{sv}", out_signature="ua{sv}")
    def CreateSession(self, handle, session, app_id, options):
        self.sessions.append(session)
        return dbus.UInt32(0), dbus.Dictionary({"session_handle": session}, signature="sv")

    @dbus.service.method(SERVICE, in_signature="ooa(sa{sv})sa{sv}", out_signature="ua{sv}")
    def BindShortcuts(self, handle, session, shortcuts, parent, options):
        self.bound = {str(name): {str(k): str(v) for k, v in settings.items()}
                      for name, settings in shortcuts}
        return dbus.UInt32(0), dbus.Dictionary({"shortcuts": shortcuts}, signature="sv")

    @dbus.service.signal(SERVICE, signature="osta{sv}")
    def Activated(self, session, shortcut, timestamp, options):
        pass

    @dbus.service.method(TEST, in_signature="s", out_signature="s")
    def Trigger(self, shortcut):
        return self.bound.get(shortcut, {}).get("preferred_trigger", "")

    @dbus.service.method(TEST, in_signature="s", out_signature="")
    def Press(self, shortcut):
        for session in self.sessions:
            self.Activated(session, shortcut, dbus.UInt64(0), {})


DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
service = Shortcuts(bus)
name = dbus.service.BusName("org.freedesktop.impl.portal.desktop.whirlpanetest", bus)
GLib.MainLoop().run()
