#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The desktop program in its test mode on a real X server with a tray host,
driven by xdotool: one desktop and program for the cases that run in order;
desktops of their own for a hot key already taken, for the compositor and
AT-SPI, and for a session in Japanese."""
import os
import re
import shutil
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../support"))
from desktop import (SCREEN, WHIRLPANE, Desktop, centred_at, language_environment,  # noqa: E402
                     said, wait_for)


def docked_icon(desktop):
    """Where the program's icon sits in the tray host, or None before it docks."""
    tree = subprocess.run(["xwininfo", "-root", "-tree"], env=desktop.env,
                          capture_output=True, text=True).stdout.splitlines()
    for at, line in enumerate(tree):
        if '("panel" "trayer")' in line:
            for inner in tree[at + 1:at + 8]:
                match = re.search(r'"whirlpane".*\+(-?\d+)\+(-?\d+)\s*$', inner)
                if match:
                    return int(match.group(1)), int(match.group(2))
    return None


class DesktopSession(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.desktop = Desktop(tray=True)
        cls.folder = cls.desktop.folder
        cls.photo = cls.desktop.picture()
        cls.program = cls.desktop.whirlpane("--test-mode", "--open", cls.photo)

    @classmethod
    def tearDownClass(cls):
        cls.desktop.close()

    def shows(self, geometry):
        wait_for(lambda: self.desktop.panel() == geometry)
        self.assertEqual(self.desktop.panel(), geometry)

    def converted(self, name):
        """Whether `name` is written and the batch over (its toast gone)."""
        return wait_for(lambda: os.path.exists(os.path.join(self.folder, name))
                        and self.desktop.withdrawn(), timeout=60)

    def test_1_open_shows_the_wheel_at_the_screen_centre_above_all_and_a_digit_converts(self):
        self.shows(centred_at(SCREEN[0] // 2, SCREEN[1] // 2))
        panel = self.desktop.wheel_window
        for state in ("SKIP_TASKBAR", "SKIP_PAGER", "ABOVE"):
            self.assertIn("_NET_WM_STATE_" + state, self.desktop.xprop(panel, "_NET_WM_STATE"))
        self.assertIn("Depth: 24", self.desktop.xwininfo(panel), "no compositor: opaque")
        self.assertTrue(wait_for(lambda: self.desktop.focus() == panel))
        self.desktop.xdotool("key 1")
        self.assertTrue(self.converted("photo.png"))

    def test_2_the_hot_key_toggles_the_wheel_at_the_pointer(self):
        for pointer, shown in (((300, 200), centred_at(300, 200)), ((0, 0), (-14, -14, 266, 266))):
            self.desktop.xdotool("mousemove", "--sync", *pointer)
            self.desktop.xdotool("key ctrl+alt+space")
            self.shows(shown)
            self.desktop.xdotool("key ctrl+alt+space")
            self.assertTrue(wait_for(self.desktop.withdrawn))

    def test_3_a_second_launch_shows_the_running_programs_wheel_and_a_refused_one_nothing(self):
        other, report = (os.path.join(self.folder, name) for name in ("other.jpg", "report.pdf"))
        for copy in (other, report):
            shutil.copy(self.photo, copy)
        self.desktop.xdotool("mousemove --sync 500 400")
        # Refused before anything is handed over (each refusal's words: launch_test).
        refused = subprocess.run([WHIRLPANE, "--to", "heic", report], env=self.desktop.env,
                                 timeout=60, capture_output=True, text=True)
        self.assertEqual((refused.returncode, refused.stderr),
                         (2, "\u201creport.pdf\u201d cannot be converted to HEIC.\n"))
        self.assertFalse(wait_for(self.desktop.panel, timeout=2), "nothing was shown")
        second = subprocess.run([WHIRLPANE, "--test-mode", other], env=self.desktop.env,
                                timeout=60, capture_output=True)
        self.assertEqual(second.returncode, 0, second.stderr)
        # Shown for a menu at the pointer, it goes when another window takes the focus.
        self.shows(centred_at(500, 400))
        self.desktop.start(["xmessage", "-geometry", "+40+40", "elsewhere"])
        self.assertTrue(wait_for(lambda: self.desktop.windows(cls="Xmessage")))
        self.desktop.xdotool("mousemove", "--sync", 60, 50, "click", 1)
        self.assertTrue(wait_for(self.desktop.withdrawn))
        self.assertIsNone(self.program.poll(), "the running program stays")

    def test_3_b_shown_for_a_menu_it_waits_for_a_drag_begun_in_another_window(self):
        waiting = os.path.join(self.folder, "waiting.jpg")
        shutil.copy(self.photo, waiting)
        source = self.desktop.drag_source(100, 100, waiting)
        self.addCleanup(source.process.terminate)
        subprocess.run([WHIRLPANE, "--test-mode", "--open", waiting], env=self.desktop.env,
                       timeout=60)
        self.shows(centred_at(SCREEN[0] // 2, SCREEN[1] // 2))
        # The press on the source takes the focus well before the drag starts.
        self.desktop.xdotool("mousemove", "--sync", 160, 160, "mousedown", 1, "sleep", 0.8,
                             "mousemove", 300, 250, "sleep", 0.05, "mousemove", 640, 340,
                             "sleep", 0.05, "mousemove", 640, 320, "sleep", 0.2, "mouseup", 1)
        self.assertEqual(source.wait_for("dropped"), "dropped copy")
        self.assertTrue(self.converted("waiting.png"))

    def test_3b_a_request_with_no_program_running_starts_it(self):
        desktop = Desktop(tray=True)
        self.addCleanup(desktop.close)
        photo = desktop.picture()
        refused = subprocess.run([WHIRLPANE, "--to", "txt", photo], env=desktop.env, timeout=60,
                                 capture_output=True, text=True)
        self.assertEqual(refused.returncode, 2, refused.stderr)
        program = desktop.whirlpane("--test-mode", "--to", "png", photo)
        self.assertTrue(wait_for(lambda: os.path.exists(os.path.join(desktop.folder, "photo.png")),
                                 timeout=60))
        self.assertIsNone(program.poll(), "the program stays in the tray")

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
        self.assertEqual(self.program.wait(60), 0, said(self.program)[-4000:])
        self.assertEqual(set(os.listdir(self.folder)) | {".cache"}, before)

    def test_6_a_hot_key_held_by_another_program_is_reported_once_and_the_program_runs_on(self):
        desktop = Desktop()  # without a tray, where the notice is a window
        self.addCleanup(desktop.close)
        desktop.xlib.grab_key(0x04 | 0x08)  # Ctrl+Alt+Space, by another X client
        program = desktop.whirlpane("--test-mode")
        # Without a tray the program's window shows too; the notice stands over it.
        self.assertEqual(len(wait_for(lambda: set(desktop.windows("Whirlpane"))
                                      - set(desktop.main_windows()))), 1,
                         "one notice, and no wheel")
        self.assertIsNone(program.poll(), "the program runs on without its hot key")

    def test_7_with_a_compositor_the_wheel_is_translucent_and_assistive_tools_press_it(self):
        # A tray host, so that the program's own window brings no buttons of its own.
        desktop = Desktop(tray=True, compositor=True, dbus=True)
        self.addCleanup(desktop.close)
        desktop.start([WHIRLPANE, "--test-mode", "--open", desktop.picture()],
                      QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        wait_for(desktop.panel)
        self.assertIn("Depth: 32", desktop.xwininfo(desktop.wheel_window))
        client = desktop.assistive_tool("press", "Whirlpane", "PNG")
        self.assertEqual(client.wait_for("buttons", 60), "\t".join(
            ["buttons", "PNG", "WEBP", "HEIC", "TIFF", "AVIF", "BMP", "PDF", "DOCX"]),
            client.errors())
        self.assertEqual(client.wait_for("pressed"), "pressed PNG")
        self.assertTrue(wait_for(lambda: os.path.exists(os.path.join(desktop.folder, "photo.png"))))

    def test_8_in_japanese_the_docked_icons_menu_and_an_editor_read_in_it(self):
        desktop = Desktop(tray=True, dbus=True)
        self.addCleanup(desktop.close)
        desktop.start([WHIRLPANE, "--test-mode", "--open", desktop.picture(), "--editor", "crop"],
                      QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", **language_environment("ja"))
        client = desktop.assistive_tool("texts", "Whirlpane")
        shown = client.wait_for("editor", 60)
        self.assertIsNotNone(shown, client.errors())
        for text in ("画像の切り抜き", "「画像の切り抜き」を閉じる", "リセット", "適用", "縦横比"):
            self.assertIn(text, shown.split("\t")[1:])
        icon = wait_for(lambda: docked_icon(desktop), timeout=30)
        self.assertIsNotNone(icon, "no icon in the tray")
        items, before = None, set(desktop.windows(cls="whirlpane"))
        for _ in range(3):  # a click the moment the icon docks may find it not embedded
            desktop.xdotool("mousemove", icon[0] + 8, icon[1] + 8, "click", "1")
            # The first item takes the focus, which the reader hears of.
            desktop.xdotool("sleep", "0.5", "key", "Down")
            items = client.wait_for("menu", 20)
            if items:
                break
        self.assertEqual((items or "").split("\t")[1:], [
            "Whirlpane", "ファイルを開く…", "ホイールを表示", "ファイルのドラッグ中に表示", "使い方…",
            "ログイン時に起動", "Whirlpane を終了"], client.errors())
        menus = set(desktop.windows(cls="whirlpane")) - before
        self.assertTrue(menus, "the menu is a window of its own")
        for _ in range(3):  # an Escape the moment the menu maps may come before its grab
            desktop.xdotool("key Escape")
            if wait_for(lambda: not menus & set(desktop.windows(cls="whirlpane")), 5):
                break
        self.assertFalse(menus & set(desktop.windows(cls="whirlpane")), "the menu closes")

if __name__ == "__main__":
    unittest.main()
