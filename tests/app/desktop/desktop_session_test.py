#!/usr/bin/env python3
"""The desktop program on a real X server: Xvfb with openbox, driven by
xdotool, each test on its own display with its own home, configuration and
runtime folders. Run by CTest with WHIRLPANE_BINARY naming the program."""
import os
import re
import shutil
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../support"))
from desktop import PANEL, SCREEN, WHIRLPANE, Desktop, wait_for  # noqa: E402


def centred_at(x, y):
    return (x - PANEL // 2, y - PANEL // 2, PANEL, PANEL)


class DesktopSession(unittest.TestCase):
    def setUp(self):
        self.desktop = Desktop(tray="_tray_" in self.id())
        self.addCleanup(self.desktop.close)
        self.folder = self.desktop.folder
        self.photo = os.path.join(self.folder, "photo.jpg")
        subprocess.run(["vips", "xyz", self.photo, "48", "32"], check=True)

    def converted(self, name):
        return wait_for(lambda: os.path.exists(os.path.join(self.folder, name)), timeout=20)

    def test_open_shows_the_wheel_at_the_screen_centre_and_a_digit_converts(self):
        self.desktop.whirlpane("--test-mode", "--open", self.photo)
        self.assertEqual(wait_for(self.desktop.panel), centred_at(SCREEN[0] // 2, SCREEN[1] // 2))
        self.desktop.xdotool("key", "1")
        self.assertTrue(self.converted("photo.png"))
        self.assertTrue(wait_for(lambda: self.desktop.panel() is None))

    def test_hot_key_hides_the_wheel_and_brings_it_back_at_the_pointer(self):
        self.desktop.whirlpane("--test-mode", "--open", self.photo)
        self.assertIsNotNone(wait_for(self.desktop.panel))
        # Near a corner the wheel stays on the screen but for its margin.
        for pointer, shown in (((300, 200), centred_at(300, 200)), ((0, 0), (-14, -14, 266, 266))):
            self.desktop.xdotool("key", "ctrl+alt+space")
            self.assertTrue(wait_for(lambda: self.desktop.panel() is None))
            self.desktop.xdotool("mousemove", "--sync", *map(str, pointer))
            self.desktop.xdotool("key", "ctrl+alt+space")
            self.assertEqual(wait_for(self.desktop.panel), shown)

    def test_a_second_launch_hands_its_file_to_the_running_program(self):
        first = self.desktop.whirlpane("--test-mode")
        time.sleep(0.5)
        other = os.path.join(self.folder, "other.jpg")
        shutil.copy(self.photo, other)
        self.desktop.xdotool("mousemove", "--sync", "500", "400")
        second = subprocess.run([WHIRLPANE, "--test-mode", other], env=self.desktop.env,
                                timeout=20, capture_output=True)
        self.assertEqual(second.returncode, 0, second.stderr)
        self.assertEqual(wait_for(self.desktop.panel), centred_at(500, 400))
        self.assertIsNone(first.poll(), "the running program stays")
        self.desktop.xdotool("key", "1")
        self.assertTrue(self.converted("other.png"))

    def test_a_polite_stop_during_a_batch_leaves_no_working_or_partial_file(self):
        noise = os.path.join(self.folder, "noise.png")
        subprocess.run(["vips", "gaussnoise", noise, "2500", "2500"], check=True)
        program = self.desktop.whirlpane("--test-mode", "--open", noise)
        self.assertIsNotNone(wait_for(self.desktop.panel))
        self.desktop.xdotool("key", "5")  # AVIF: seconds of work for this picture
        self.assertTrue(wait_for(lambda: any(name.startswith(".whirlpane-")
                                             for name in os.listdir(self.folder)), timeout=20),
                        "the conversion did not start")
        program.terminate()
        self.assertEqual(program.wait(20), 0)
        left = sorted(set(os.listdir(self.folder)) - {"runtime", "config", ".cache"})
        self.assertEqual(left, ["noise.png", "photo.jpg"])

    def test_a_hot_key_held_by_another_program_is_reported_once_and_the_program_runs_on(self):
        self.desktop.xlib.grab_key(0x04 | 0x08)  # Ctrl+Alt+Space, by another X client
        program = self.desktop.whirlpane("--test-mode")
        windows = wait_for(lambda: self.desktop.xdotool("search", "--onlyvisible", "--name",
                                                        "^Whirlpane$"))
        self.assertEqual(len((windows or "").split()), 1, "one notice, and no wheel")
        self.assertIsNone(program.poll(), "the program runs on without its hot key")

    def test_the_icon_docks_in_a_tray_and_opens_its_menu(self):
        self.desktop.whirlpane("--test-mode")

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

        def ours():
            return set((self.desktop.xdotool("search", "--onlyvisible", "--class", "whirlpane")
                        or "").split())

        icon = wait_for(docked_icon, timeout=15)
        self.assertIsNotNone(icon, "no icon in the tray")
        before = ours()
        self.desktop.xdotool("mousemove", str(icon[0] + 8), str(icon[1] + 8), "click", "1")
        opened = wait_for(lambda: ours() - before)
        self.assertEqual(len(opened), 1, "one menu window opens")
        height = self.desktop.geometry(opened.pop())[3]
        self.assertGreater(height, 100, "seven items and two separators")


if __name__ == "__main__":
    unittest.main()
