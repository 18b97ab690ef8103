#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The "Whirlpane" submenu in real file managers, GNOME Files (Nautilus) and
Dolphin, each on a private X desktop of its own, reading the integration files
of this build: its share/ first in XDG_DATA_DIRS (where both look for menu
providers and service menus) and its bin/ first on PATH (where the menus find
the program). A file is selected, its context menu opened with the keyboard
and walked with the arrow keys as a person would, each step confirmed by the
focus the file manager reports to assistive tools (AT-SPI); what the chosen
entry did is checked on disk and in the running program's windows."""
import glob
import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from desktop import ATSPI, SYSTEM_PYTHON, WHIRLPANE, Desktop, said, wait_for  # noqa: E402

SHARE = os.environ.get("WHIRLPANE_SHARE", "")
SYSTEM_PATH = "/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin"
# Fifteen entries and the menu above them need more than a laptop's height.
SCREEN = (1280, 1400)
PHOTO_SIZE = ("437", "291")  # a size no other picture here has
TEXT = "Whirlpane reads this line back"

IMAGE_ENTRIES = [
    "Convert to PNG", "Convert to WEBP", "Convert to HEIC", "Convert to TIFF", "Convert to AVIF",
    "Convert to BMP", "Convert to PDF", "Convert to DOCX", "Compress…", "Remove Metadata…",
    "Edit…", "Annotate…", "Add Background…", "Crop…", "Redact…"]
PDF_ENTRIES = ["Convert to DOCX", "Convert to JPG", "Convert to PNG", "Convert to TXT"]


class FileManagerMenu:
    """The cases, for the file manager a subclass describes."""

    APPLICATION = None  # its name on the accessibility bus
    COMMAND = None  # opens a window on the folder of a file, the file selected
    WINDOW_CLASS = None  # its X windows', menus included
    INTEGRATION = None  # the build's files it reads, under share/
    ENVIRONMENT = {}
    MENU_KEY = "Menu"
    # Whether an opened menu focuses its first entry (and says so).
    OPENS_FOCUSED = False
    # The keys that go from "Whirlpane" to the submenu's first entry.
    SUBMENU_KEYS = ("Right",)
    # How long a key's focus report may take. None: every entry reports its
    # focus, however late; otherwise some never do (see Dolphin), and a key
    # answered by nothing for this long has moved onto such an entry.
    SILENT_AFTER = None
    COMPOSITOR = False  # the pictures for the README have one

    @classmethod
    def setUpClass(cls):
        cls.desktop = Desktop(dbus=True, screen=SCREEN, compositor=cls.COMPOSITOR)
        cls.addClassCleanup(cls.desktop.close)
        found = glob.glob(os.path.join(SHARE, cls.INTEGRATION))
        if not found:
            raise AssertionError("the build made no %s under %r" % (cls.INTEGRATION, SHARE))
        env = cls.desktop.env
        # The system's PATH, as a desktop session has it: nautilus-python's
        # embedded Python finds its library through the first python3 there,
        # and one of a developer's own (pyenv's) has no GObject bindings.
        env["PATH"] = os.pathsep.join([os.path.dirname(os.path.abspath(WHIRLPANE)), SYSTEM_PATH])
        env["XDG_DATA_DIRS"] = SHARE + os.pathsep + (
            os.environ.get("XDG_DATA_DIRS") or "/usr/local/share:/usr/share")
        # Inside HOME: Nautilus under Xvfb has been seen never to finish
        # loading a folder elsewhere.
        cls.folder = os.path.join(cls.desktop.folder, "Pictures")
        os.mkdir(cls.folder)
        cls.photo = os.path.join(cls.folder, "photo.jpg")
        gradient = os.path.join(cls.desktop.folder, "gradient.v")
        subprocess.run(["vips", "xyz", gradient, *PHOTO_SIZE], check=True)
        subprocess.run(["vips", "bandjoin_const", gradient, cls.photo, "90"], check=True)
        os.remove(gradient)
        text = os.path.join(cls.folder, "notes.txt")
        with open(text, "w") as notes:
            notes.write(TEXT + "\n")
        subprocess.run([WHIRLPANE, "--convert", text, "--to", "pdf"], env=env, check=True,
                       capture_output=True)
        os.remove(text)
        cls.pdf = os.path.join(cls.folder, "notes.pdf")

        # The program runs before the menus hand it files, in its quiet test
        # mode, telling assistive tools what it shows from the start.
        cls.program = cls.desktop.start([WHIRLPANE, "--test-mode"],
                                        QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        socket = os.path.join(env["XDG_RUNTIME_DIR"], "whirlpane.socket")
        if not wait_for(lambda: os.path.exists(socket), timeout=60):
            raise AssertionError("the program did not start: " + said(cls.program)[-2000:])
        # Two listeners: the flood of what a file manager shows never holds
        # up the focus reports the walk waits for.
        cls.focus = cls.listener("focus")
        cls.shown = cls.listener("shown")
        # Out of the way: a menu that opens under the pointer focuses the
        # entry there, whatever the keys say.
        cls.desktop.xdotool("mousemove", "--sync", SCREEN[0] - 1, SCREEN[1] - 1)
        cls.prepare()

    @classmethod
    def listener(cls, kind):
        talker = cls.desktop.assistive_tool("listen", kind)
        if talker.wait_for("listening", 60) is None:
            raise AssertionError("no %s listener: %s" % (kind, talker.errors()[-2000:]))
        return talker

    @classmethod
    def prepare(cls):
        """What the file manager needs in the private HOME before it starts."""

    def tearDown(self):
        self.assertIsNone(self.program.poll(), "the program runs on: " + said(self.program)[-2000:])

    def test_1_convert_to_png_writes_the_png_beside_the_photo_with_the_toast_shown(self):
        self.assertEqual(self.walk(self.photo, "Convert to PNG"), IMAGE_ENTRIES)
        png = os.path.join(self.folder, "photo.png")

        def png_size():
            """The size of photo.png once it is there and a PNG."""
            kind = subprocess.run(["file", "--brief", "--mime-type", png], capture_output=True,
                                  text=True).stdout.strip()
            return kind == "image/png" and tuple(subprocess.run(
                ["vipsheader", "-f", field, png], capture_output=True, text=True).stdout.strip()
                for field in ("width", "height"))

        self.assertEqual(wait_for(png_size, timeout=90), PHOTO_SIZE,
                         "no photo.png: %s" % os.listdir(self.folder))
        self.assertEqual(self.shown.wait_for("shown\tConverting to PNG", 30),
                         "shown\tConverting to PNG", "no toast: %s" % self.shown.seen[-20:])

    def test_2_crop_opens_the_crop_editor_on_that_photo(self):
        self.walk(self.photo, "Crop…")

        def crop_editor():
            windows = (self.query("windows", "Whirlpane") or "").splitlines()
            return next((w for w in windows if "Width in pixels=" in w), None)

        editor = wait_for(crop_editor, timeout=90, step=0.5)
        self.assertIsNotNone(editor, "no Crop editor: %s" % self.query("windows", "Whirlpane"))
        fields = editor.split("\t")
        self.assertTrue(fields[1].startswith("Crop"), editor)
        # A new crop selects the whole picture: its size is the photo's.
        self.assertIn("Width in pixels=%s" % PHOTO_SIZE[0], fields)
        self.assertIn("Height in pixels=%s" % PHOTO_SIZE[1], fields)

    def test_3_a_pdf_offers_the_pdf_formats_and_converts_to_text(self):
        self.assertEqual(self.walk(self.pdf, "Convert to TXT"), PDF_ENTRIES)
        text = os.path.join(self.folder, "notes.txt")

        def written():
            if not os.path.exists(text):
                return False
            with open(text, errors="replace") as notes:
                return TEXT in notes.read()

        self.assertTrue(wait_for(written, timeout=90), "no notes.txt: %s" % os.listdir(self.folder))

    def walk(self, file, entry):
        """Goes to Whirlpane ▸ `entry` in the context menu of `file` and
        presses Return. Returns the submenu's entries, in order."""
        first, entries = self.open_submenu(file)
        self.seek(first, entry, "Down", entries)
        self.desktop.xdotool("key", "Return")
        return entries

    def open_submenu(self, file):
        """Opens a window with `file` selected and its context menu by keys,
        and goes into "Whirlpane". Returns the focused entry and the
        submenu's entries, in order."""
        self.open_window(file)
        name = os.path.basename(file)
        self.assertTrue(wait_for(lambda: self.query("selected", self.APPLICATION, name) is not None,
                                 timeout=90, step=0.5), "%s never selected" % name)
        self.drain()
        current = self.open_menu()
        self.seek(current, "Whirlpane", "Up")
        for key in self.SUBMENU_KEYS:
            self.desktop.xdotool("key", key)
        first = self.next_focus("Whirlpane", 60)
        self.assertIsNotNone(first, "Whirlpane opened no submenu")
        return first[0], first[1]

    def open_window(self, file):
        before = set(self.desktop.windows(cls=self.WINDOW_CLASS))
        self.desktop.start([*self.COMMAND, file], **self.ENVIRONMENT)
        folder = os.path.basename(os.path.dirname(file))
        window = wait_for(lambda: next((w for w in self.desktop.windows(cls=self.WINDOW_CLASS)
                                        if w not in before and folder in (self.desktop.xdotool(
                                            "getwindowname", w) or "")), None), timeout=90)
        self.assertIsNotNone(window, "no window of %s" % self.APPLICATION)
        self.addCleanup(self.close_window, window)
        self.desktop.xdotool("windowactivate", window)
        self.assertTrue(wait_for(lambda: self.desktop.focus() == window, timeout=30))
        return window

    def close_window(self, window):
        self.desktop.xdotool("key", "Escape")  # a menu the case left open
        self.desktop.xdotool("windowactivate", window)
        wait_for(lambda: self.desktop.focus() == window, timeout=30)
        self.desktop.xdotool("key", "alt+F4")  # the window manager's close
        self.assertTrue(wait_for(lambda: window not in self.desktop.windows(cls=self.WINDOW_CLASS),
                                 timeout=30), "the window stays")

    def open_menu(self):
        """Opens the selection's context menu; returns the focused entry, if
        the menu says."""
        before = set(self.desktop.windows(cls=self.WINDOW_CLASS))
        for _ in range(3):  # a key pressed before the window took the focus is lost
            self.desktop.xdotool("key", self.MENU_KEY)
            if wait_for(lambda: set(self.desktop.windows(cls=self.WINDOW_CLASS)) - before, 20):
                break
        else:
            self.fail("no context menu opened")
        if not self.OPENS_FOCUSED:
            return None
        opened = self.next_focus(None, 60)
        self.assertIsNotNone(opened, "the menu reports no focus")
        return opened[0]

    def seek(self, current, target, key, entries=()):
        """Presses `key` until the entry called `target` has the focus, each
        press once the last one's focus is reported; returns that entry and
        its menu's entries."""
        seen = []
        for _ in range(40):
            if current == target:
                return current, entries
            self.assertLess(seen.count(current), 2, "no %s in the menu: %s" % (target, seen))
            self.desktop.xdotool("key", key)
            moved = self.next_focus(current, self.SILENT_AFTER or 60)
            if moved is None:
                self.assertIsNotNone(self.SILENT_AFTER, "%s left %s unfocused" % (key, current))
                current = None
            else:
                current, entries = moved
                seen.append(current)
        self.fail("no %s in %s" % (target, seen))

    def next_focus(self, leaving, timeout):
        """The next focused menu entry whose name is not `leaving`, and its
        menu's entries; None if none within `timeout` seconds."""
        fields = (self.focus.wait_for(lambda line: line.startswith("focus\t") and (
            line.split("\t")[1] != leaving), timeout) or "").split("\t")
        return (fields[1], fields[2:]) if fields[0] else None

    def drain(self):
        while not self.focus.pending.empty():
            self.focus.pending.get_nowait()

    def query(self, *arguments):
        """The assistive tool's answer to `query` `arguments`; None when it
        finds nothing."""
        done = subprocess.run([SYSTEM_PYTHON, ATSPI, "query", *arguments],
                              env=self.desktop.env, capture_output=True, text=True, timeout=180)
        return done.stdout if done.returncode == 0 else None


class Nautilus(FileManagerMenu, unittest.TestCase):
    APPLICATION = "org.gnome.Nautilus"
    COMMAND = ["nautilus", "--select"]
    WINDOW_CLASS = "nautilus"
    # nautilus-python reads the extensions folder of every data folder.
    INTEGRATION = "nautilus-python/extensions/whirlpane.py"
    # GTK's GL renderer runs on the processor here, and with animations on
    # the "Loading…" spinner's frames can starve the idle work that finishes
    # loading a folder on two busy cores: Nautilus then never shows the files.
    # Its settings from a file in the private HOME (prepare() below), not dconf.
    ENVIRONMENT = {"GSK_RENDERER": "cairo", "GSETTINGS_BACKEND": "keyfile"}
    MENU_KEY = "shift+F10"
    OPENS_FOCUSED = True
    # A GTK submenu slides in with its header ("Whirlpane", back) focused.
    SUBMENU_KEYS = ("Right", "Down")

    @classmethod
    def prepare(cls):
        settings = os.path.join(cls.desktop.env["XDG_CONFIG_HOME"], "gtk-4.0")
        os.makedirs(settings)
        with open(os.path.join(settings, "settings.ini"), "w") as ini:
            ini.write("[Settings]\ngtk-enable-animations=false\n")
        # A thumbnail that arrives while the menu is open re-makes the file's
        # cell, and the open menu stops answering the arrow keys.
        settings = os.path.join(cls.desktop.env["XDG_CONFIG_HOME"], "glib-2.0", "settings")
        os.makedirs(settings)
        with open(os.path.join(settings, "keyfile"), "w") as keyfile:
            keyfile.write("[org/gnome/nautilus/preferences]\nshow-image-thumbnails='never'\n")


class Dolphin(FileManagerMenu, unittest.TestCase):
    APPLICATION = "dolphin"
    COMMAND = ["dolphin", "--select"]
    WINDOW_CLASS = "dolphin"
    # KIO reads kio/servicemenus in every data folder (KDE Frameworks 5.85 on).
    INTEGRATION = "kio/servicemenus/whirlpane*.desktop"
    ENVIRONMENT = {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}
    # Qt reports the focus of Dolphin's own entries that its main window's
    # menus share (Properties, Cut, ...) from an object no assistive tool can
    # resolve, so those reports never arrive; the service menus' entries
    # arrive within milliseconds.
    SILENT_AFTER = 8


if __name__ == "__main__":
    unittest.main()
