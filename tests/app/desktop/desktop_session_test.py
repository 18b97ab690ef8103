#!/usr/bin/env python3
"""The desktop program on a real X server: Xvfb with openbox, driven by
xdotool, each test on its own display with its own home, configuration and
runtime folders. Run by CTest with WHIRLPANE_BINARY naming the program."""
import ctypes
import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

WHIRLPANE = os.environ.get("WHIRLPANE_BINARY", "whirlpane")
SCREEN = (1280, 800)
PANEL = 266


def wait_for(predicate, timeout=10.0, step=0.05):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return predicate()


class Desktop:
    """One X server, its window manager and the programs started on it."""

    def __init__(self, tray=False):
        self.folder = tempfile.mkdtemp(prefix="whirlpane-desktop-")
        self.processes = []
        read, write = os.pipe()
        self.processes.append(subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "%dx%dx24" % SCREEN,
             "-nolisten", "tcp"], pass_fds=[write], stderr=subprocess.DEVNULL))
        os.close(write)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read, 16)
            if not chunk:
                raise RuntimeError("Xvfb did not start")
            number += chunk
        os.close(read)
        runtime = os.path.join(self.folder, "runtime")
        os.mkdir(runtime, 0o700)
        self.env = dict(os.environ, DISPLAY=":" + number.decode().strip(), HOME=self.folder,
                        XDG_CONFIG_HOME=os.path.join(self.folder, "config"),
                        XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="xcb")
        self.env.pop("WAYLAND_DISPLAY", None)
        self.start(["openbox", "--sm-disable"])
        wait_for(lambda: self.xdotool("search", "--class", "openbox") is not None or
                 self.processes[-1].poll() is not None, timeout=3)
        if tray:
            self.start(["trayer", "--edge", "top", "--align", "right", "--widthtype", "request"])
            wait_for(lambda: self.xdotool("search", "--class", "trayer"), timeout=5)

    def start(self, command):
        process = subprocess.Popen(command, env=self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.processes.append(process)
        return process

    def whirlpane(self, *arguments):
        return self.start([WHIRLPANE, *arguments])

    def xdotool(self, *arguments):
        done = subprocess.run(["xdotool", *arguments], env=self.env, capture_output=True,
                              text=True)
        return done.stdout.strip() if done.returncode == 0 else None

    def panel(self):
        """The visible wheel's (x, y, width, height), or None."""
        found = self.xdotool("search", "--onlyvisible", "--name", "^Whirlpane$")
        if not found:
            return None
        shell = self.xdotool("getwindowgeometry", "--shell", found.split()[0])
        values = dict(line.split("=") for line in shell.splitlines())
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)


class DesktopSession(unittest.TestCase):
    def setUp(self):
        self.desktop = Desktop(tray="_tray_" in self.id())
        self.addCleanup(self.desktop.close)
        self.photo = os.path.join(self.desktop.folder, "photo.jpg")
        subprocess.run(["vips", "xyz", self.photo, "48", "32"], check=True)

    def centred_at(self, x, y):
        return (x - PANEL // 2, y - PANEL // 2, PANEL, PANEL)

    def test_open_shows_the_wheel_at_the_screen_centre_and_a_digit_converts(self):
        self.desktop.whirlpane("--test-mode", "--open", self.photo)
        shown = wait_for(self.desktop.panel)
        self.assertEqual(shown, self.centred_at(SCREEN[0] // 2, SCREEN[1] // 2))
        self.desktop.xdotool("key", "1")
        png = os.path.join(self.desktop.folder, "photo.png")
        self.assertTrue(wait_for(lambda: os.path.exists(png), timeout=20))
        self.assertTrue(wait_for(lambda: self.desktop.panel() is None))

    def test_hot_key_hides_the_wheel_and_brings_it_back_at_the_pointer(self):
        self.desktop.whirlpane("--test-mode", "--open", self.photo)
        self.assertIsNotNone(wait_for(self.desktop.panel))
        self.desktop.xdotool("key", "ctrl+alt+space")
        self.assertTrue(wait_for(lambda: self.desktop.panel() is None))
        self.desktop.xdotool("mousemove", "--sync", "300", "200")
        self.desktop.xdotool("key", "ctrl+alt+space")
        self.assertEqual(wait_for(self.desktop.panel), self.centred_at(300, 200))
        # Near a corner the wheel stays on the screen but for its margin.
        self.desktop.xdotool("key", "ctrl+alt+space")
        self.assertTrue(wait_for(lambda: self.desktop.panel() is None))
        self.desktop.xdotool("mousemove", "--sync", "0", "0")
        self.desktop.xdotool("key", "ctrl+alt+space")
        self.assertEqual(wait_for(self.desktop.panel), (-14, -14, PANEL, PANEL))

    def test_a_second_launch_hands_its_file_to_the_running_program(self):
        first = self.desktop.whirlpane("--test-mode")
        time.sleep(0.5)
        other = os.path.join(self.desktop.folder, "other.jpg")
        shutil.copy(self.photo, other)
        self.desktop.xdotool("mousemove", "--sync", "500", "400")
        second = subprocess.run([WHIRLPANE, "--test-mode", other], env=self.desktop.env,
                                timeout=20, capture_output=True)
        self.assertEqual(second.returncode, 0, second.stderr)
        self.assertEqual(wait_for(self.desktop.panel), self.centred_at(500, 400))
        self.assertIsNone(first.poll(), "the running program stays")
        self.desktop.xdotool("key", "1")
        self.assertTrue(wait_for(lambda: os.path.exists(os.path.join(self.desktop.folder,
                                                                     "other.png")), timeout=20))

    def test_a_polite_stop_during_a_batch_leaves_no_working_or_partial_file(self):
        noise = os.path.join(self.desktop.folder, "noise.png")
        subprocess.run(["vips", "gaussnoise", noise, "2500", "2500"], check=True)
        program = self.desktop.whirlpane("--test-mode", "--open", noise)
        self.assertIsNotNone(wait_for(self.desktop.panel))
        self.desktop.xdotool("key", "5")  # AVIF: seconds of work for this picture

        def working():
            return any(name.startswith(".whirlpane-") for name in os.listdir(self.desktop.folder))

        self.assertTrue(wait_for(working, timeout=20), "the conversion did not start")
        program.terminate()
        self.assertEqual(program.wait(20), 0)
        left = sorted(name for name in os.listdir(self.desktop.folder)
                      if name not in ("runtime", "config", ".cache"))
        self.assertEqual(left, ["noise.png", "photo.jpg"])

    def test_a_hot_key_held_by_another_program_is_reported_once_and_the_program_runs_on(self):
        # Another X client holds Ctrl+Alt+Space, with both lock variants.
        xlib = ctypes.cdll.LoadLibrary("libX11.so.6")
        xlib.XOpenDisplay.restype = ctypes.c_void_p
        xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        xlib.XDefaultRootWindow.restype = ctypes.c_ulong
        xlib.XGrabKey.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_uint, ctypes.c_ulong,
                                  ctypes.c_int, ctypes.c_int, ctypes.c_int]
        xlib.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        display = xlib.XOpenDisplay(self.desktop.env["DISPLAY"].encode())
        self.addCleanup(xlib.XCloseDisplay, display)
        root = xlib.XDefaultRootWindow(display)
        space = xlib.XKeysymToKeycode(display, 0x20)
        for locks in (0, 0x10, 0x02, 0x12):
            xlib.XGrabKey(display, space, 0x04 | 0x08 | locks, root, 1, 1, 1)
        xlib.XSync(display, 0)

        program = self.desktop.whirlpane("--test-mode")

        def notice():
            found = self.desktop.xdotool("search", "--onlyvisible", "--name", "^Whirlpane$")
            return found.split() if found else None

        windows = wait_for(notice)
        self.assertEqual(len(windows or []), 1, "one notice, and no wheel")
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

        icon = wait_for(docked_icon, timeout=15)
        self.assertIsNotNone(icon, "no icon in the tray")
        before = set((self.desktop.xdotool("search", "--onlyvisible", "--class", "whirlpane")
                      or "").split())
        self.desktop.xdotool("mousemove", str(icon[0] + 8), str(icon[1] + 8))
        self.desktop.xdotool("click", "1")

        def menu():
            now = set((self.desktop.xdotool("search", "--onlyvisible", "--class", "whirlpane")
                       or "").split())
            return now - before

        opened = wait_for(menu)
        self.assertEqual(len(opened), 1, "one menu window opens")
        shell = self.desktop.xdotool("getwindowgeometry", "--shell", opened.pop())
        height = int(dict(line.split("=") for line in shell.splitlines())["HEIGHT"])
        self.assertGreater(height, 100, "seven items and two separators")

if __name__ == "__main__":
    unittest.main()
