#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The desktop program on a real Wayland compositor (sway headless, one for
each case, with no tray): the wheel drawn round and translucent where the
compositor puts it, a key pressed on it, a file dragged from another Wayland
client to a wheel that was up before the drag began. (The program's own
window takes real drops on X11: window_session_test.)"""
import os
import re
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
from desktop import PANEL, SCREEN, WHIRLPANE, said, wait_for  # noqa: E402
from wayland import WALLPAPER, WaylandDesktop  # noqa: E402

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
        self.photo = desktop.picture()
        return desktop

    def shown(self, desktop, side):
        """The rectangle of the program's window `side` wide and high (the
        wheel, or the program's own window) once it is up and grown."""
        rect = wait_for(lambda: desktop.rect("Whirlpane", side), timeout=30)
        self.assertIsNotNone(rect, "a window of %d shows" % side)
        wait_for(lambda: False, timeout=1)  # the grow's 573 ms
        return rect

    def converted(self, desktop):
        return wait_for(lambda: os.path.exists(os.path.join(desktop.folder, "photo.png")), 60)

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
        source = desktop.drag_source(0, 0, self.photo)  # tiled over the output
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


if __name__ == "__main__":
    unittest.main()
