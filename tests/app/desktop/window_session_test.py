#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The program's own window on a real X server: it comes up where no tray host
runs and not where one does; a real file drag from a GTK source dropped on its
PNG wedge converts; closing the window ends the program. And a launch whose
Wayland socket is dead is refused in one line."""
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
from desktop import WHIRLPANE, Desktop, wait_for  # noqa: E402

SIDE = 300  # the window's inside; the disc's centre is its middle


class WithoutATray(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.desktop = Desktop()
        cls.addClassCleanup(cls.desktop.close)
        cls.folder = cls.desktop.folder
        cls.photo = cls.desktop.picture()
        cls.program = cls.desktop.whirlpane("--test-mode")
        cls.window = (wait_for(cls.desktop.main_windows, timeout=30) or [None])[0]

    def test_1_a_plain_launch_shows_the_window_in_the_task_switcher(self):
        self.assertIsNotNone(self.window, "no Whirlpane window")
        self.assertEqual(self.desktop.geometry(self.window)[2:], (SIDE, SIDE))
        self.assertNotIn("SKIP_TASKBAR", self.desktop.xprop(self.window, "_NET_WM_STATE") or "")
        self.assertIsNone(self.desktop.panel(), "and no wheel")

    def test_2_a_drag_dropped_on_its_png_wedge_writes_the_png_beside_the_source(self):
        source = self.desktop.drag_source(700, 100, self.photo)
        self.addCleanup(source.process.terminate)
        self.assertTrue(wait_for(lambda: self.desktop.windows("Drag source")), "mapped")
        self.desktop.xdotool("windowmove", "--sync", self.window, 200, 200)
        x, y, _, _ = self.desktop.geometry(self.window)
        wedge = (x + SIDE // 2, y + SIDE // 2 - 80)  # the top wedge: PNG for a JPEG
        self.desktop.xdotool("mousemove", "--sync", 760, 160, "mousedown", "1", "sleep", "0.1",
                             "mousemove", 700, 250, "sleep", "0.1",
                             "mousemove", wedge[0] + 30, wedge[1], "sleep", "0.1",
                             "mousemove", wedge[0], wedge[1], "sleep", "0.3", "mouseup", "1")
        self.assertEqual(source.wait_for("dropped"), "dropped copy")
        self.assertTrue(wait_for(lambda: os.path.exists(os.path.join(self.folder, "photo.png"))
                                 and self.desktop.withdrawn(), timeout=60))

    def test_4_closing_the_window_ends_the_program(self):
        self.desktop.xdotool("windowactivate", "--sync", self.window, "key", "alt+F4")
        self.assertEqual(self.program.wait(30), 0)


class WithATray(unittest.TestCase):
    def test_a_tray_host_keeps_the_program_in_the_tray_without_a_window(self):
        desktop = Desktop(tray=True)
        self.addCleanup(desktop.close)
        program = desktop.whirlpane("--test-mode")
        # The wheel's window is made (hidden) at launch: the program is up.
        self.assertTrue(wait_for(lambda: desktop.xdotool("search", "--class", "whirlpane"),
                                 timeout=30))
        self.assertFalse(wait_for(desktop.main_windows, timeout=3), "no window of its own")
        self.assertIsNone(program.poll())


class DeadWaylandSocket(unittest.TestCase):
    def test_a_dead_wayland_socket_without_x_is_refused_in_one_line(self):
        runtime = tempfile.mkdtemp(prefix="whirlpane-runtime-")
        self.addCleanup(shutil.rmtree, runtime, True)
        # A socket whose compositor has gone: bound, never listened on.
        dead = socket.socket(socket.AF_UNIX)
        dead.bind(os.path.join(runtime, "wayland-1"))
        dead.close()
        env = {key: value for key, value in os.environ.items()
               if key not in ("DISPLAY", "QT_QPA_PLATFORM", "WAYLAND_SOCKET")}
        env.update(WAYLAND_DISPLAY="wayland-1", XDG_RUNTIME_DIR=runtime, LANGUAGE="en",
                   LC_ALL="C.UTF-8")
        refused = subprocess.run([WHIRLPANE], env=env, timeout=60, capture_output=True, text=True)
        self.assertEqual(refused.returncode, 1)
        self.assertEqual(refused.stderr.count("\n"), 1, refused.stderr)
        self.assertIn("nothing answers at WAYLAND_DISPLAY or DISPLAY", refused.stderr)


if __name__ == "__main__":
    unittest.main()
