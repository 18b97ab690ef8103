#!/usr/bin/env python3
"""The desktop program in its test mode on a real X server with a tray host,
driven by xdotool: one desktop, one program for the cases that run in
order, then a second program after a polite stop. Run by CTest with
WHIRLPANE_BINARY naming the program."""
import os
import re
import shutil
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../support"))
from desktop import SCREEN, WHIRLPANE, Desktop, centred_at, wait_for  # noqa: E402


class DesktopSession(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.desktop = Desktop(tray=True)
        cls.folder = cls.desktop.folder
        cls.photo = os.path.join(cls.folder, "photo.jpg")
        subprocess.run(["vips", "xyz", cls.photo, "48", "32"], check=True)
        cls.program = cls.desktop.whirlpane("--test-mode", "--open", cls.photo)

    @classmethod
    def tearDownClass(cls):
        cls.desktop.close()

    def shows(self, geometry):
        wait_for(lambda: self.desktop.panel() == geometry)
        self.assertEqual(self.desktop.panel(), geometry)

    def converted(self, name):
        """Whether `name` is written and the batch over: the file comes before
        the program's end of the batch, and until then it shows no wheel."""
        return wait_for(lambda: os.path.exists(os.path.join(self.folder, name))
                        and self.desktop.withdrawn(), timeout=60)

    def test_1_open_shows_the_wheel_at_the_screen_centre_and_a_digit_converts(self):
        self.shows(centred_at(SCREEN[0] // 2, SCREEN[1] // 2))
        self.desktop.xdotool("key 1")
        self.assertTrue(self.converted("photo.png"))

    def test_2_the_hot_key_toggles_the_wheel_at_the_pointer(self):
        for pointer, shown in (((300, 200), centred_at(300, 200)), ((0, 0), (-14, -14, 266, 266))):
            self.desktop.xdotool("mousemove", "--sync", *pointer)
            self.desktop.xdotool("key ctrl+alt+space")
            self.shows(shown)
            self.desktop.xdotool("key ctrl+alt+space")
            self.assertTrue(wait_for(self.desktop.withdrawn))

    def test_3_a_second_launch_hands_its_file_to_the_running_program(self):
        other = os.path.join(self.folder, "other.jpg")
        shutil.copy(self.photo, other)
        self.desktop.xdotool("mousemove --sync 500 400")
        second = subprocess.run([WHIRLPANE, "--test-mode", other], env=self.desktop.env,
                                timeout=60, capture_output=True)
        self.assertEqual(second.returncode, 0, second.stderr)
        self.shows(centred_at(500, 400))
        self.desktop.xdotool("key 1")
        self.assertTrue(self.converted("other.png"))
        self.assertIsNone(self.program.poll(), "the running program stays")

    def test_4_the_icon_docks_in_the_tray_and_opens_its_menu(self):
        def docked_icon():
            """The absolute (x, y) of our window inside the tray host's panel."""
            tree = subprocess.run(["xwininfo", "-root", "-tree"], env=self.desktop.env,
                                  capture_output=True, text=True).stdout.splitlines()
            for at, line in enumerate(tree):
                if '("panel" "trayer")' in line:
                    for inner in tree[at + 1:at + 8]:
                        match = re.search(r'"whirlpane".*\+(-?\d+)\+(-?\d+)\s*$', inner)
                        if match:
                            return int(match.group(1)), int(match.group(2))
            return None

        icon = wait_for(docked_icon, timeout=30)
        self.assertIsNotNone(icon, "no icon in the tray")
        before = set(self.desktop.windows(cls="whirlpane"))
        opened = set()
        for _ in range(3):  # a click the moment the icon docks may find it not yet embedded
            self.desktop.xdotool("mousemove", icon[0] + 8, icon[1] + 8, "click", "1")
            opened = wait_for(lambda: set(self.desktop.windows(cls="whirlpane")) - before,
                              timeout=8)
            if opened:
                break
        self.assertEqual(len(opened), 1, "one menu window opens")
        self.assertGreater(self.desktop.geometry(opened.pop())[3], 100, "seven items, two lines")
        self.desktop.xdotool("key Escape")

    def test_5_a_polite_stop_during_a_batch_leaves_no_working_or_partial_file(self):
        noise = os.path.join(self.folder, "noise.png")
        subprocess.run(["vips", "gaussnoise", noise, "2500", "2500"], check=True)
        before = set(os.listdir(self.folder)) | {".cache"}
        subprocess.run([WHIRLPANE, "--test-mode", noise], env=self.desktop.env, timeout=60)
        self.assertTrue(wait_for(self.desktop.panel))
        self.desktop.xdotool("key 5")  # AVIF: seconds of work for this picture
        self.assertTrue(wait_for(lambda: any(name.startswith(".whirlpane-")
                                             for name in os.listdir(self.folder))),
                        "the conversion did not start")
        self.program.terminate()
        self.assertEqual(self.program.wait(60), 0)
        self.assertEqual(set(os.listdir(self.folder)) | {".cache"}, before)

    def test_6_a_hot_key_held_by_another_program_is_reported_once_and_the_program_runs_on(self):
        desktop = Desktop()  # without a tray, where the notice is a window
        self.addCleanup(desktop.close)
        desktop.xlib.grab_key(0x04 | 0x08)  # Ctrl+Alt+Space, by another X client
        program = desktop.whirlpane("--test-mode")
        self.assertEqual(len(wait_for(lambda: desktop.windows("Whirlpane"))), 1,
                         "one notice, and no wheel")
        self.assertIsNone(program.poll(), "the program runs on without its hot key")


if __name__ == "__main__":
    unittest.main()
