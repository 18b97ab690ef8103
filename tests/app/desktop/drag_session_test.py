#!/usr/bin/env python3
"""The drag watch on a real X server: the desktop program (without the test
mode, which stops the watch) on Xvfb with openbox, file drags started by real
drag sources (the Qt helper of tests/wheel/desktop and a GTK 3 one) and driven
by xdotool. One desktop and one program serve every case; each case leaves the
wheel hidden. Run by CTest with WHIRLPANE_BINARY and DRAG_SOURCE naming the
programs."""
import os
import select
import shutil
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
from desktop import PANEL, Desktop, wait_for  # noqa: E402

DRAG_SOURCE = os.environ.get("DRAG_SOURCE", "drag-source")
GTK_SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "gtk_drag_source.py")
SYSTEM_PYTHON = "/usr/bin/python3"  # where python3-gi is installed


def gtk_available():
    return subprocess.run([SYSTEM_PYTHON, "-c", "import gi; gi.require_version('Gtk', '3.0')"],
                          capture_output=True).returncode == 0


def centred_at(x, y):
    return (x - PANEL // 2, y - PANEL // 2, PANEL, PANEL)


class DragSession(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.desktop = Desktop()
        config = os.path.join(cls.desktop.env["XDG_CONFIG_HOME"], "Whirlpane")
        os.makedirs(config)
        with open(os.path.join(config, "Whirlpane.conf"), "w") as settings:
            settings.write("[General]\nhasOpenedWhirlpane=true\n")  # no introduction
        cls.program = cls.desktop.whirlpane()
        # The wheel's window is made (hidden) at launch.
        wait_for(lambda: cls.desktop.xdotool("search", "--class", "whirlpane"), timeout=10)
        time.sleep(0.3)

    @classmethod
    def tearDownClass(cls):
        cls.desktop.close()

    def setUp(self):
        self.folder = os.path.join(self.desktop.folder, self.id().rsplit(".", 1)[-1])
        os.mkdir(self.folder)
        self.photo = os.path.join(self.folder, "photo.jpg")
        subprocess.run(["vips", "xyz", self.photo, "48", "32"], check=True)

    def tearDown(self):
        self.assertIsNone(self.program.poll(), "the program runs on")
        self.desktop.xdotool("mouseup", "1")
        self.assertTrue(wait_for(lambda: self.desktop.panel() is None, timeout=5),
                        "the case leaves the wheel hidden")

    def source(self, *files, gtk=False):
        """A drag source window at (100, 100) dragging `files`, once on screen."""
        command = ([SYSTEM_PYTHON, GTK_SOURCE] if gtk else [DRAG_SOURCE]) + ["100", "100", *files]
        process = subprocess.Popen(command, env=self.desktop.env, stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL)

        def stop():
            process.terminate()
            process.wait(5)
            process.stdout.close()

        self.addCleanup(stop)
        ready, _, _ = select.select([process.stdout], [], [], 15)
        self.assertTrue(ready and process.stdout.readline().strip() == b"ready",
                        "the drag source did not come up")
        time.sleep(0.2)  # mapped and placed by the window manager
        return process

    def drag_to_rest(self, x=640, y=400):
        """Presses on the source and drags to (x, y), where the pointer rests."""
        self.desktop.xdotool("mousemove", "--sync", "160", "160", "mousedown", "1", "sleep", "0.1",
                             "mousemove", "300", "250", "sleep", "0.05", "mousemove", str(x),
                             str(y))

    def test_a_resting_jpeg_drag_shows_the_wheel_at_the_pointer_and_the_top_wedge_makes_a_png(self):
        self.source(self.photo)
        self.drag_to_rest(640, 400)
        self.assertEqual(wait_for(self.desktop.panel, timeout=5), centred_at(640, 400))
        self.desktop.xdotool("mousemove", "640", "360", "sleep", "0.05", "mousemove", "640", "330",
                             "sleep", "0.05", "mousemove", "640", "320", "sleep", "0.2",
                             "mouseup", "1")
        png = os.path.join(self.folder, "photo.png")
        self.assertTrue(wait_for(lambda: os.path.exists(png), timeout=20),
                        "the PNG is written beside its source")
        self.assertTrue(wait_for(lambda: self.desktop.panel() is None))
        time.sleep(0.5)  # the batch ends: drags are taken again

    def test_alt_during_the_drag_flips_to_the_tools_wheel(self):
        self.source(self.photo)
        self.drag_to_rest(640, 400)
        self.assertEqual(wait_for(self.desktop.panel, timeout=5), centred_at(640, 400))
        self.desktop.xdotool("keydown", "alt", "sleep", "0.2", "keyup", "alt", "sleep", "0.1")
        # The top wedge is now the first tool (Compress), not PNG: its editor
        # opens, and no PNG is written.
        self.desktop.xdotool("mousemove", "640", "360", "sleep", "0.05", "mousemove", "640", "330",
                             "sleep", "0.05", "mousemove", "640", "320", "sleep", "0.2",
                             "mouseup", "1")
        editor = wait_for(lambda: self.desktop.xdotool("search", "--onlyvisible", "--name",
                                                       "^Compress$"), timeout=5)
        self.assertIsNotNone(editor, "the Compress editor")
        time.sleep(0.3)
        self.assertFalse(os.path.exists(os.path.join(self.folder, "photo.png")))
        self.desktop.xdotool("windowactivate", "--sync", editor.split()[0], "key", "Escape")
        self.assertTrue(wait_for(lambda: self.desktop.xdotool(
            "search", "--onlyvisible", "--name", "^Compress$") is None, timeout=5))

    def test_a_release_elsewhere_hides_the_wheel(self):
        self.source(self.photo)
        self.drag_to_rest(640, 400)
        self.assertEqual(wait_for(self.desktop.panel, timeout=5), centred_at(640, 400))
        self.desktop.xdotool("mousemove", "1000", "700", "sleep", "0.1", "mousemove", "1100",
                             "720", "sleep", "0.1", "mouseup", "1")
        released = time.monotonic()
        self.assertTrue(wait_for(lambda: self.desktop.panel() is None, timeout=5))
        # The grace is 0.22 s from the tick that saw the release; xdotool returns
        # a little after the release itself.
        self.assertGreater(time.monotonic() - released, 0.15, "not before the grace")

    def test_plain_clicks_and_a_folder_drag_show_nothing(self):
        # A press held still on the desktop.
        self.desktop.xdotool("mousemove", "--sync", "900", "300", "mousedown", "1", "sleep", "0.8")
        self.assertIsNone(self.desktop.panel())
        self.desktop.xdotool("mouseup", "1", "click", "1", "sleep", "0.5")
        self.assertIsNone(self.desktop.panel())
        # A drag of a folder that rests.
        # Named like a photo, so that only dropping folders keeps the wheel away.
        folder = os.path.join(self.folder, "album.jpg")
        os.mkdir(folder)
        shutil.copy(self.photo, folder)
        self.source(folder)
        self.drag_to_rest(640, 400)
        time.sleep(1.0)
        self.assertIsNone(self.desktop.panel())

    def test_a_drag_source_that_never_answers_costs_only_its_own_drag(self):
        # Another X client takes the drag selection during a press and never
        # answers the question for its files.
        self.desktop.xdotool("mousemove", "--sync", "900", "300", "mousedown", "1")
        self.desktop.xlib.take_selection("XdndSelection")
        self.desktop.xdotool("mousemove", "700", "400", "sleep", "0.8", "mouseup", "1")
        self.assertIsNone(self.desktop.panel())
        # The program went on: the next real drag brings the wheel.
        self.source(self.photo)
        self.drag_to_rest(640, 400)
        self.assertEqual(wait_for(self.desktop.panel, timeout=5), centred_at(640, 400))
        self.desktop.xdotool("mousemove", "1000", "700", "sleep", "0.1", "mouseup", "1")

    @unittest.skipUnless(gtk_available(), "no GTK 3 for Python (python3-gi, gir1.2-gtk-3.0)")
    def test_a_gtk_drag_shows_the_wheel_and_its_top_wedge_makes_a_png(self):
        self.source(self.photo, gtk=True)
        self.drag_to_rest(600, 420)
        self.assertEqual(wait_for(self.desktop.panel, timeout=5), centred_at(600, 420))
        self.desktop.xdotool("mousemove", "600", "380", "sleep", "0.05", "mousemove", "600", "350",
                             "sleep", "0.05", "mousemove", "600", "340", "sleep", "0.2",
                             "mouseup", "1")
        png = os.path.join(self.folder, "photo.png")
        self.assertTrue(wait_for(lambda: os.path.exists(png), timeout=20))
        self.assertTrue(wait_for(lambda: self.desktop.panel() is None))
        time.sleep(0.5)


if __name__ == "__main__":
    unittest.main()
