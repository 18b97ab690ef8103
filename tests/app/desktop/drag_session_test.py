#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The drag watch on a real X server: the desktop program (without the test
mode, which stops the watch) and file drags from real drag sources: a GTK one
driven by xdotool, and Qt's own (a Qt 6 window and Dolphin) moved as a mouse
moves. Each case leaves every window of the program closed."""
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
from desktop import Desktop, centred_at, wait_for  # noqa: E402

QT_SOURCE = os.environ.get("QT_DRAG_SOURCE", "qt-drag-source")


class DragSession(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.desktop = Desktop()
        cls.desktop.skip_introduction()
        cls.program = cls.desktop.whirlpane()
        # The wheel's window is made (hidden) at launch.
        wait_for(lambda: cls.desktop.xdotool("search", "--class", "whirlpane"), timeout=30)

    @classmethod
    def tearDownClass(cls):
        cls.desktop.close()

    def setUp(self):
        self.folder = os.path.join(self.desktop.folder, self.id().rsplit(".", 1)[-1])
        os.mkdir(self.folder)
        self.photo = self.desktop.picture(folder=self.folder)

    def tearDown(self):
        self.assertIsNone(self.program.poll(), "the program runs on")
        self.desktop.xdotool("mouseup 1")
        # The wheel, the toast of a batch (drags are taken again once it is
        # over) and any editor are gone.
        # The program's own window stays: no tray shows it here.
        self.assertTrue(wait_for(lambda: not set(self.desktop.windows(cls="whirlpane"))
                                 - set(self.desktop.main_windows()) and self.desktop.withdrawn()),
                        "the case leaves a window of the program open")

    def source(self, *files):
        """A drag source window at (100, 100) dragging `files`, once on screen."""
        source = self.desktop.drag_source(100, 100, *files)
        self.addCleanup(source.process.terminate)
        self.assertTrue(wait_for(lambda: self.desktop.windows("Drag source")), "mapped")
        return source

    def drag_to_rest(self, x=640, y=400):
        """Presses on the source and drags to (x, y), where the pointer rests:
        the wheel comes up there."""
        self.desktop.xdotool("mousemove", "--sync", "160", "160", "mousedown", "1", "sleep", "0.1",
                             "mousemove", "300", "250", "sleep", "0.05", "mousemove", x, y)
        self.assertEqual(wait_for(self.desktop.panel), centred_at(x, y))

    def release_on_top_wedge(self, x=640, y=400):
        self.desktop.xdotool("mousemove", x, y - 40, "sleep", "0.05", "mousemove", x, y - 70,
                             "sleep", "0.05", "mousemove", x, y - 80, "sleep", "0.2", "mouseup", "1")

    def test_a_resting_drag_shows_the_wheel_at_the_pointer_and_the_top_wedge_makes_a_png(self):
        source = self.source(self.photo)
        self.drag_to_rest()
        self.assertNotEqual(self.desktop.focus(), self.desktop.wheel_window, "source's focus")
        self.release_on_top_wedge()
        self.assertTrue(wait_for(lambda: os.path.exists(os.path.join(self.folder, "photo.png")),
                                 timeout=60))
        self.assertEqual(source.wait_for("dropped"), "dropped copy")

    def test_a_release_without_moving_drops_on_the_wedge_that_came_up_under_the_pointer(self):
        # By the left edge the disc stays on the screen, so its PDF wedge comes
        # up under the resting pointer: the source must be made to see it there.
        source = self.source(self.photo)
        self.desktop.xdotool("mousemove --sync 160 160 mousedown 1 sleep 0.1 mousemove 300 250 "
                             "sleep 0.05 mousemove 30 400")
        self.assertEqual(wait_for(self.desktop.panel), (-14, 267, 266, 266))
        self.desktop.xdotool("sleep 1 mouseup 1")
        self.assertTrue(wait_for(lambda: os.path.exists(os.path.join(self.folder, "photo.pdf")),
                                 timeout=60))
        self.assertEqual(source.wait_for("dropped"), "dropped copy")

    def test_alt_during_the_drag_flips_to_the_tools_wheel(self):
        self.source(self.photo)
        self.drag_to_rest()
        self.desktop.xdotool("keydown alt sleep 0.2 keyup alt sleep 0.1")
        # The top wedge is now the first tool, Compress: its editor opens.
        self.release_on_top_wedge()
        editor = wait_for(lambda: self.desktop.windows("Compress"))
        self.assertTrue(editor, "the Compress editor")
        self.assertFalse(os.path.exists(os.path.join(self.folder, "photo.png")))
        self.desktop.xdotool("windowactivate", "--sync", editor[0], "key", "Escape")

    def test_plain_presses_and_a_silent_source_show_nothing(self):
        # The watch ticks every 45 ms and shows after 0.3 s at rest: waiting
        # 0.8 s leaves it time to get it wrong.
        self.desktop.xdotool("mousemove --sync 900 300 mousedown 1 sleep 0.8 mouseup 1 "
                             "click 1 sleep 0.8")
        self.assertIsNone(self.desktop.panel(), "a press held still, a click")
        # Another X client takes the drag selection during a press and never
        # answers the question for its files.
        self.desktop.xdotool("mousemove --sync 880 320 mousedown 1")
        self.desktop.xlib.take_selection("XdndSelection")
        self.desktop.xdotool("mousemove 700 400 sleep 0.8 mouseup 1")
        self.assertIsNone(self.desktop.panel(), "a source that never answers")
        # The program went on: the next real drag brings the wheel.
        self.source(self.photo)
        self.drag_to_rest()
        self.desktop.xdotool("mousemove 1000 700 sleep 0.1 mouseup 1")


class QtDragSources(unittest.TestCase):
    """Qt's XDND source answers the question for the dragged files only when
    it is stamped with the time of the source's latest position message, which
    every pointer motion renews. Drags from a Qt 6 window and from Dolphin (Qt
    5), moved every 8 ms as a 125 Hz mouse reports and then resting, must each
    bring the wheel up."""

    TRIES = 10

    @classmethod
    def setUpClass(cls):
        # With a tray host: no window of the program's own lies across the drags.
        cls.desktop = Desktop(dbus=True, tray=True)
        cls.addClassCleanup(cls.desktop.close)
        cls.desktop.skip_introduction()
        cls.folder = os.path.join(cls.desktop.folder, "Pictures")
        os.mkdir(cls.folder)
        cls.photo = cls.desktop.picture(folder=cls.folder)
        cls.program = cls.desktop.whirlpane()
        wait_for(lambda: cls.desktop.xdotool("search", "--class", "whirlpane"), timeout=30)

    def tearDown(self):
        self.assertIsNone(self.program.poll(), "the program runs on")
        self.assertFalse(os.path.exists(os.path.join(self.folder, "photo.png")), "no drop")

    def drags(self, press, rest=(700, 450)):
        """Drags from `press` to `rest` TRIES times, a motion every 8 ms, and
        counts the drags that brought the wheel up at `rest`. Each is then
        released far from the wheel, over nothing."""
        xlib, shown = self.desktop.xlib, 0
        for _ in range(self.TRIES):
            xlib.pointer(*press)
            time.sleep(0.1)
            xlib.pointer(*press, True)
            steps = 40
            for step in range(1, steps + 1):
                time.sleep(0.008)
                xlib.pointer(*(p + (r - p) * step // steps for p, r in zip(press, rest)))
            shown += wait_for(lambda: self.desktop.panel() == centred_at(*rest), timeout=3) or 0
            for x in range(rest[0], 1250, 60):
                time.sleep(0.008)
                xlib.pointer(x, 60)
            xlib.pointer(1250, 60, False)
            self.assertTrue(wait_for(self.desktop.withdrawn), "the wheel hides after the drag")
        return shown

    def test_every_drag_from_a_qt_6_window_brings_the_wheel(self):
        source = self.desktop.start([QT_SOURCE, "100", "100", self.photo], talk=True)
        self.addCleanup(source.process.terminate)
        self.assertEqual(source.wait_for("ready"), "ready", source.errors())
        window = wait_for(lambda: self.desktop.windows("Drag source"))
        self.assertTrue(window, "mapped")
        x, y, width, height = self.desktop.geometry(window[0])
        self.assertEqual(self.drags((x + width // 2, y + height // 2)), self.TRIES)

    def test_every_drag_from_dolphin_brings_the_wheel(self):
        dolphin = self.desktop.start(["dolphin", self.folder])
        self.addCleanup(dolphin.terminate)
        window = wait_for(lambda: self.desktop.windows(cls="dolphin"), timeout=60)
        self.assertTrue(window, "Dolphin's window")
        self.desktop.xdotool("windowsize", "--sync", window[0], 600, 400, "windowmove", "--sync",
                             window[0], 0, 0)
        # The photo's icon (Breeze's green picture; no thumbnails here), where
        # Dolphin has laid it out.
        icon = wait_for(lambda: self.desktop.xlib.find_colour(
            window[0], lambda r, g, b: g > 150 and r < 120 and b < 120), timeout=30)
        self.assertTrue(icon, "the photo in Dolphin's window")
        x, y, _, _ = self.desktop.geometry(window[0])
        self.assertEqual(self.drags((x + icon[0], y + icon[1])), self.TRIES)


if __name__ == "__main__":
    unittest.main()
