#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The desktop program on a real Wayland compositor (sway headless, one for
each case, with no tray): the wheel drawn round and translucent where the
compositor puts it, a key pressed on it, a file dragged from another Wayland
client to a wheel that was up before the drag began, and the program's own
window taking drops, with the desktop shortcut's command reaching it."""
import os
import re
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
from desktop import PANEL, SCREEN, WHIRLPANE, said, wait_for  # noqa: E402
from wayland import WALLPAPER, WaylandDesktop  # noqa: E402

SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "drag_source.py")
WINDOW = 300  # the program's own window, where no tray shows it
# Where a look at the wheel is kept, when asked for.
PICTURES = os.environ.get("WAYLAND_PICTURES")

REGION = re.compile(r"wl_region@(\d+)\.add\((-?\d+), (-?\d+), (\d+), (\d+)\)")
INPUT = re.compile(r"wl_surface@\d+\.set_input_region\(wl_region@(\d+)\)")


def input_region(log):
    """The rectangles of the last input region a WAYLAND_DEBUG log sets."""
    rectangles, last = {}, []
    for line in log.splitlines():
        if "create_region" in line:
            rectangles[line.rsplit("@", 1)[1].rstrip(")")] = []
        elif match := REGION.search(line):
            rectangles.setdefault(match[1], []).append(tuple(map(int, match.groups()[1:])))
        elif match := INPUT.search(line):
            last = rectangles.get(match[1], [])
    return last


def contains(rectangles, x, y):
    return any(rx <= x < rx + w and ry <= y < ry + h for rx, ry, w, h in rectangles)


class WaylandSession(unittest.TestCase):
    def desktop(self, **options):
        desktop = WaylandDesktop(**options)
        self.addCleanup(desktop.close)
        self.photo = os.path.join(desktop.folder, "photo.jpg")
        subprocess.run(["vips", "xyz", self.photo, "48", "32"], check=True)
        return desktop

    def shown(self, desktop, side):
        """The rectangle of the program's window `side` wide and high (the
        wheel, or the program's own window) once it is up and grown."""
        rect = wait_for(lambda: desktop.rect("Whirlpane", side), timeout=30)
        self.assertIsNotNone(rect, "a window of %d shows" % side)
        wait_for(lambda: False, timeout=1)  # the grow's 573 ms
        return rect

    def converted(self, desktop, name="photo.png"):
        return wait_for(lambda: os.path.exists(os.path.join(desktop.folder, name)), timeout=60)

    def source(self, desktop):
        """A GTK drag source of the photo, tiled over the whole output."""
        source = desktop.start(["/usr/bin/python3", SOURCE, "0", "0", self.photo], talk=True)
        self.assertEqual(source.wait_for("ready"), "ready", source.errors())
        return source

    def drag(self, desktop, source, to, check=None):
        """Drags the photo from the source to `to` and drops it there; `check`
        runs while the drag rests there, before the drop."""
        desktop.move((100, 100), down=True)
        desktop.move(*[(100 + step * 20, 100 + step * 10) for step in range(1, 12)])
        desktop.move(*[(to[0], to[1] - distance) for distance in (70, 40, 10, 1)], to)
        wait_for(lambda: False, timeout=0.3)
        if check:
            check()
        desktop.move((to[0], to[1] + 1), down=False)
        self.assertEqual(source.wait_for("dropped"), "dropped copy")

    def test_open_draws_a_round_translucent_wheel_where_sway_puts_it_and_a_digit_converts(self):
        desktop = self.desktop()
        # The protocol log shows what the program asks of the compositor.
        program = desktop.start([WHIRLPANE, "--test-mode", "--open", self.photo],
                                WAYLAND_DEBUG="1")
        # With no tray the program's own window comes too: out of the way.
        self.shown(desktop, WINDOW)
        self.assertTrue(desktop.move_window("Whirlpane", WINDOW, 0, 0))
        x, y, width, height = self.shown(desktop, PANEL)
        # sway floats a window of fixed size and centres it.
        self.assertEqual((x + width // 2, y + height // 2), (SCREEN[0] // 2, SCREEN[1] // 2))
        pixel = desktop.screenshot(PICTURES and os.path.join(PICTURES, "wayland-wheel.png"))
        for corner in ((x + 4, y + 4), (x + width - 5, y + 4), (x + 4, y + height - 5),
                       (x + width - 5, y + height - 5)):
            self.assertEqual(pixel(*corner), WALLPAPER, "the corner at %s is clear" % (corner,))
        # Inside the disc, between the centre and the top wedge's caption.
        inside = pixel(x + width // 2 + 30, y + height // 2 - 30)
        self.assertGreater(sum(abs(a - b) for a, b in zip(inside, WALLPAPER)), 120, inside)
        # Its clear corners take no presses or drops (sway itself still
        # gives the whole window's box to the window, not to what lies below).
        region = input_region(said(program))
        self.assertTrue(region, "an input region is set")
        self.assertFalse(any(contains(region, *corner) for corner in (
            (4, 4), (width - 5, 4), (4, height - 5), (width - 5, height - 5))))
        self.assertTrue(all(contains(region, width // 2 + dx, height // 2 + dy)
                            for dx, dy in ((0, 0), (0, -116), (116, 0), (-80, 80))))
        desktop.type("1")
        self.assertTrue(self.converted(desktop))

    def test_a_drag_begun_in_another_window_after_open_reaches_the_wheel_and_converts(self):
        desktop = self.desktop(pointer=True)
        source = self.source(desktop)
        program = desktop.whirlpane("--test-mode", "--open", self.photo)
        self.shown(desktop, WINDOW)
        self.assertTrue(desktop.move_window("Whirlpane", WINDOW, SCREEN[0] - WINDOW,
                                            SCREEN[1] - WINDOW))
        x, y, width, height = self.shown(desktop, PANEL)
        self.assertEqual(wait_for(desktop.focused), "Whirlpane")
        # The press on the source takes the focus; the wheel waits for the
        # drag begun there, and its top wedge (PNG) takes the drop.
        self.drag(desktop, source, (x + width // 2, y + height // 2 - 80), lambda: (
            self.assertIsNotNone(desktop.rect("Whirlpane", PANEL), "the wheel waits")))
        self.assertTrue(self.converted(desktop), said(program)[-2000:])

    def test_without_a_tray_the_window_takes_drops_and_a_second_process_shows_the_wheel(self):
        desktop = self.desktop(pointer=True)
        source = self.source(desktop)
        program = desktop.whirlpane("--test-mode")
        x, y, width, height = self.shown(desktop, WINDOW)
        centre = (x + width // 2, y + height // 2)
        self.assertIsNone(desktop.rect("Whirlpane", PANEL), "and no wheel")
        self.drag(desktop, source, (centre[0], centre[1] - 80))
        self.assertTrue(self.converted(desktop))
        # The desktop's shortcut command: the wheel for the file just made.
        shown = subprocess.run([WHIRLPANE, "--show-wheel"], env=desktop.env, timeout=60,
                               capture_output=True, text=True)
        self.assertEqual((shown.returncode, shown.stderr), (0, ""))
        self.shown(desktop, PANEL)
        desktop.type(key="Escape")
        self.assertTrue(wait_for(lambda: not desktop.rect("Whirlpane", PANEL)), "Escape")
        # A drop on the window's centre opens the wheel for the dropped file.
        self.drag(desktop, source, centre)
        self.shown(desktop, PANEL)
        desktop.type("2")
        self.assertTrue(self.converted(desktop, "photo.webp"))
        self.assertIsNone(program.poll())


if __name__ == "__main__":
    unittest.main()
