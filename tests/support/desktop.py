# SPDX-License-Identifier: GPL-3.0-or-later
"""A private X desktop: Xvfb on a display of its own (a 1280x800 screen unless
asked for another), openbox, and on request trayer, the xcompmgr compositor
and a private D-Bus session, with HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR
in a scratch folder. Programs started through it see only that desktop, each
in a process group that close() stops."""
import ctypes
import os
import queue
import random
import shutil
import signal
import socket
import subprocess
import tempfile
import threading
import time

WHIRLPANE = os.environ.get("WHIRLPANE_BINARY", "whirlpane")
SYSTEM_PYTHON = "/usr/bin/python3"  # where python3-gi and pyatspi are
SUPPORT = os.path.dirname(os.path.abspath(__file__))
ATSPI = os.path.join(SUPPORT, "atspi.py")
DRAG_SOURCE = os.path.join(SUPPORT, "..", "app", "desktop", "drag_source.py")
SCREEN = (1280, 800)
PANEL = 266


def wait_for(predicate, timeout=20.0, step=0.05):
    """Polls `predicate` until it returns something true or `timeout` passes;
    returns its last value."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return predicate()


def free_display():
    """A display number that no X server on this machine holds: Xvfb looks only
    at the lock files in this /tmp, while the abstract sockets that clients try
    first are shared with other containers, whose servers would get our keys."""
    while True:
        number = random.randrange(100, 30000)
        probe = socket.socket(socket.AF_UNIX)
        try:
            probe.bind("\0/tmp/.X11-unix/X%d" % number)
        except OSError:
            continue
        finally:
            probe.close()
        if not os.path.exists("/tmp/.X%d-lock" % number):
            return number


# The locale a user of each of the program's languages has.
LOCALES = {"de": "de_DE", "fr": "fr_FR", "es": "es_ES", "pt_BR": "pt_BR", "zh_CN": "zh_CN",
           "ja": "ja_JP"}


def language_environment(language=None):
    """The environment of a program that is to speak `language` ("de",
    "pt_BR"), or English with none: LANGUAGE and LANG, which Qt reads for the
    user's languages."""
    if not language:
        return {"LANGUAGE": "", "LANG": "C.UTF-8"}
    return {"LANGUAGE": language, "LANG": LOCALES[language] + ".UTF-8"}


def centred_at(x, y):
    """The wheel's window geometry when it is centred on (x, y)."""
    return (x - PANEL // 2, y - PANEL // 2, PANEL, PANEL)


class Talker:
    """A program that reports one line at a time on its standard output."""

    def __init__(self, process):
        self.process, self.seen = process, []
        self.pending = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        try:
            for line in self.process.stdout:
                self.seen.append(line.rstrip("\n"))
                self.pending.put(self.seen[-1])
        except ValueError:  # closed by Desktop.close()
            pass

    def wait_for(self, prefix, timeout=20.0):
        """The first report not yet taken that starts with `prefix` (or that
        `prefix`, a function, accepts); None when none comes within `timeout`."""
        deadline = time.monotonic() + timeout
        while True:
            try:
                line = self.pending.get(timeout=max(0.0, deadline - time.monotonic()))
            except queue.Empty:
                return None
            if line.startswith(prefix) if isinstance(prefix, str) else prefix(line):
                return line

    def errors(self):
        return said(self.process)


def said(process):
    """What a program started by Desktop.start wrote to its standard error."""
    with open(process.errors_path, errors="replace") as log:
        return log.read()


class XImage(ctypes.Structure):
    """The leading fields of Xlib's XImage."""
    _fields_ = [(name, ctypes.c_int) for name in ("width", "height", "xoffset", "format")] + [
        ("data", ctypes.c_void_p)] + [(name, ctypes.c_int) for name in (
            "byte_order", "bitmap_unit", "bitmap_bit_order", "bitmap_pad", "depth",
            "bytes_per_line", "bits_per_pixel")]


class Xlib:
    """What no command-line tool does: a key grab and a selection held, as
    another X client would, and the pointer moved as a mouse moves it."""

    def __init__(self, display):
        x = self.x = ctypes.cdll.LoadLibrary("libX11.so.6")
        handle, xid = ctypes.c_void_p, ctypes.c_ulong
        x.XOpenDisplay.restype = handle
        x.XDefaultRootWindow.argtypes = [handle]
        x.XDefaultRootWindow.restype = xid
        x.XGrabKey.argtypes = [handle, ctypes.c_int, ctypes.c_uint, xid] + [ctypes.c_int] * 3
        x.XKeysymToKeycode.argtypes = [handle, xid]
        x.XInternAtom.argtypes = [handle, ctypes.c_char_p, ctypes.c_int]
        x.XInternAtom.restype = xid
        x.XGetSelectionOwner.argtypes = [handle, xid]
        x.XGetSelectionOwner.restype = xid
        x.XCreateSimpleWindow.argtypes = [handle, xid] + [ctypes.c_int] * 2 + [
            ctypes.c_uint] * 3 + [xid] * 2
        x.XCreateSimpleWindow.restype = xid
        x.XSetSelectionOwner.argtypes = [handle, xid, xid, xid]
        x.XSync.argtypes = [handle, ctypes.c_int]
        xtst = self.xtst = ctypes.cdll.LoadLibrary("libXtst.so.6")
        xtst.XTestFakeMotionEvent.argtypes = [handle] + [ctypes.c_int] * 3 + [xid]
        xtst.XTestFakeButtonEvent.argtypes = [handle, ctypes.c_uint, ctypes.c_int, xid]
        x.XFlush.argtypes = [handle]
        x.XGetImage.argtypes = [handle, xid] + [ctypes.c_int] * 2 + [ctypes.c_uint] * 2 + [
            ctypes.c_ulong, ctypes.c_int]
        x.XGetImage.restype = ctypes.POINTER(XImage)
        x.XDestroyImage.argtypes = [ctypes.POINTER(XImage)]
        x.XGetGeometry.argtypes = [handle, xid] + [ctypes.c_void_p] * 7
        self.display = x.XOpenDisplay(display.encode())
        self.root = x.XDefaultRootWindow(self.display)

    def pointer(self, x, y, button=None):
        """Moves the pointer to (x, y) as a mouse does (XTest: the X server's
        own motion, which xdotool's warps are not), then presses (True) or
        releases (False) `button` 1 there."""
        self.xtst.XTestFakeMotionEvent(self.display, -1, x, y, 0)
        if button is not None:
            self.xtst.XTestFakeButtonEvent(self.display, 1, button, 0)
        self.x.XFlush(self.display)

    def find_colour(self, window, match):
        """The centre, in `window`, of its pixels whose (r, g, b) `match`
        holds; None when there are none. A 24-bit screen's window."""
        x = self.x
        image = x.XGetImage(self.display, window, 0, 0, *self.size(window), 0xFFFFFFFF, 2)
        if not image:
            return None
        width, height, line = (image.contents.width, image.contents.height,
                               image.contents.bytes_per_line)
        pixels = ctypes.string_at(image.contents.data, line * height)
        x.XDestroyImage(image)
        found = [(column, row) for row in range(height)
                 for column, at in enumerate(range(row * line, row * line + width * 4, 4))
                 if match(pixels[at + 2], pixels[at + 1], pixels[at])]  # BGRX
        if not found:
            return None
        xs, ys = [column for column, _ in found], [row for _, row in found]
        return (min(xs) + max(xs)) // 2, (min(ys) + max(ys)) // 2

    def size(self, window):
        root, at, width, height, unused = (ctypes.c_ulong(), ctypes.c_int(), ctypes.c_uint(),
                                           ctypes.c_uint(), ctypes.c_uint())
        self.x.XGetGeometry(self.display, window, ctypes.byref(root), ctypes.byref(at),
                            ctypes.byref(at), ctypes.byref(width), ctypes.byref(height),
                            ctypes.byref(unused), ctypes.byref(unused))
        return width.value, height.value

    def atom(self, name):
        return self.x.XInternAtom(self.display, name.encode(), 0)

    def grab_key(self, modifiers, keysym=0x20):
        """Grabs `keysym` with `modifiers` and each lock variant on the root."""
        code = self.x.XKeysymToKeycode(self.display, keysym)
        for locks in (0, 0x10, 0x02, 0x12):  # NumLock, CapsLock
            self.x.XGrabKey(self.display, code, modifiers | locks, self.root, 1, 1, 1)
        self.x.XSync(self.display, 0)

    def selection_owner(self, name):
        return self.x.XGetSelectionOwner(self.display, self.atom(name))

    def take_selection(self, name):
        """Owns selection `name` through a window that answers no requests."""
        window = self.x.XCreateSimpleWindow(self.display, self.root, 0, 0, 1, 1, 0, 0, 0)
        self.x.XSetSelectionOwner(self.display, self.atom(name), window, 0)
        self.x.XSync(self.display, 0)


class Session:
    """The programs started on one private desktop session, X11 or Wayland:
    `env` is theirs, `folder` holds their home and logs/, and close() stops
    them all and removes the folder."""

    def _begin(self, prefix):
        """The folder, with logs/ and the programs' runtime/, and an
        environment that knows no other session, in English (start() takes
        another language), whatever the session running the tests speaks."""
        self.folder = tempfile.mkdtemp(prefix=prefix)
        self.processes, self.runtime = [], os.path.join(self.folder, "runtime")
        os.mkdir(self.runtime, 0o700)
        os.mkdir(os.path.join(self.folder, "logs"))
        self.env = {name: value for name, value in os.environ.items() if name not in (
            "DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS",
            "XAUTHORITY", "SESSION_MANAGER", "SWAYSOCK", "LC_ALL", "LC_MESSAGES")}
        self.env.update(HOME=self.folder, XDG_CONFIG_HOME=os.path.join(self.folder, "config"),
                        XDG_RUNTIME_DIR=self.runtime, **language_environment())

    def _ready(self, name, check, process=None):
        if not wait_for(check, timeout=30):
            why = process and "(exit %s) %s" % (process.poll(), said(process)[-1000:])
            self.close()
            raise RuntimeError("%s did not start %s" % (name, why or ""))

    def start(self, command, talk=False, **extra_env):
        """Starts `command` on this desktop, its errors in logs/; with `talk`, a
        Talker on its standard input and output."""
        errors = os.path.join(self.folder, "logs", "%s-%d.err" % (
            os.path.basename(command[-1 if talk else 0]), len(self.processes)))
        with open(errors, "w") as log:
            process = subprocess.Popen(
                command, env=dict(self.env, **extra_env), stdin=subprocess.PIPE if talk else None,
                stdout=subprocess.PIPE if talk else subprocess.DEVNULL, stderr=log, text=True,
                start_new_session=True)
        process.errors_path = errors
        self.processes.append(process)
        return Talker(process) if talk else process

    def whirlpane(self, *arguments):
        return self.start([WHIRLPANE, *arguments])

    def picture(self, name="photo.jpg", folder=None, size=(48, 32)):
        """A picture of smooth ramps, `size` pixels, at `name` in `folder` (the
        desktop's own unless given)."""
        path = os.path.join(folder or self.folder, name)
        subprocess.run(["vips", "xyz", path, *map(str, size)], check=True)
        return path

    def drag_source(self, x, y, *files):
        """A GTK window at (x, y) whose press drags `files`, once it is up."""
        source = self.start([SYSTEM_PYTHON, DRAG_SOURCE, str(x), str(y), *files], talk=True)
        if source.wait_for("ready") != "ready":
            raise AssertionError("no drag source: " + source.errors())
        return source

    def assistive_tool(self, *mode):
        """The assistive tool of support/atspi.py, in `mode`, talking."""
        return self.start([SYSTEM_PYTHON, ATSPI, *mode], talk=True)

    def skip_introduction(self):
        """Settings that say the program has been opened before."""
        config = os.path.join(self.env["XDG_CONFIG_HOME"], "Whirlpane")
        os.makedirs(config)
        with open(os.path.join(config, "Whirlpane.conf"), "w") as settings:
            settings.write("[General]\nhasOpenedWhirlpane=true\n")

    def close(self):
        for process in reversed(self.processes):
            # Once reaped, a leader's number may already lead another group.
            if process.poll() is None:
                try:
                    os.killpg(process.pid, signal.SIGTERM)
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    os.killpg(process.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
            process.wait()
            for stream in (process.stdin, process.stdout):
                if stream:
                    stream.close()
        shutil.rmtree(self.folder, ignore_errors=True)


class Desktop(Session):
    """One X server, its window manager and the programs started on it."""

    def __init__(self, tray=False, compositor=False, dbus=False, screen=SCREEN):
        # Now and then a busy X server that has just said it is ready refuses
        # the window manager: another display is tried before giving up.
        for attempt in range(3):
            try:
                return self._start(tray, compositor, dbus, screen)
            except RuntimeError:
                if attempt == 2:
                    raise

    def _start(self, tray, compositor, dbus, screen):
        self._begin("whirlpane-desktop-")
        self._xlib, self.wheel_window = None, None
        read, write = os.pipe()
        self.processes.append(subprocess.Popen(
            ["Xvfb", ":%d" % free_display(), "-displayfd", str(write), "-screen", "0",
             "%dx%dx24" % screen, "-nolisten", "tcp"], pass_fds=[write],
            stderr=subprocess.DEVNULL, start_new_session=True))
        os.close(write)
        with os.fdopen(read, "rb") as displayfd:
            number = displayfd.readline().decode().strip()
        if not number:
            self.close()
            raise RuntimeError("Xvfb did not start")
        self.env.update(DISPLAY=":" + number, QT_QPA_PLATFORM="xcb")
        wm = self.start(["openbox", "--sm-disable"])
        self._ready("openbox", lambda: "window id" in subprocess.run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env, capture_output=True,
            text=True).stdout, wm)
        if compositor:
            self.start(["xcompmgr"])
            self._ready("xcompmgr", lambda: self.xlib.selection_owner("_NET_WM_CM_S0"))
        if tray:
            self.start(["trayer", "--edge", "top", "--align", "right", "--widthtype", "request"])
            self._ready("trayer", lambda: self.xdotool("search", "--class", "trayer"))
        if dbus:
            bus = self.start(["dbus-daemon", "--session", "--nofork", "--print-address=1",
                              "--address=unix:path=" + self.runtime + "/bus"], talk=True)
            self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.wait_for("unix:")

    @property
    def xlib(self):
        if self._xlib is None:
            self._xlib = Xlib(self.env["DISPLAY"])
        return self._xlib

    def xdotool(self, *arguments):
        """xdotool's output for `arguments` (one string is split at spaces), or
        None when it fails."""
        if len(arguments) == 1:
            arguments = arguments[0].split()
        done = subprocess.run(["xdotool", *map(str, arguments)], env=self.env,
                              capture_output=True, text=True)
        return done.stdout.strip() if done.returncode == 0 else None

    def windows(self, name=None, cls=None):
        """The visible windows named exactly `name` (or of class `cls`)."""
        found = self.xdotool("search", "--onlyvisible", *(
            ("--class", cls) if cls else ("--name", "^%s$" % name)))
        return [int(w) for w in (found or "").split()]

    def focus(self):
        return int(self.xdotool("getwindowfocus") or 0)

    def geometry(self, window):
        shell = self.xdotool("getwindowgeometry", "--shell", window)
        values = dict(line.split("=") for line in (shell or "").splitlines())
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT")) if values else None

    def tool_windows(self):
        """The program's visible wheel and batch toast."""
        return [w for w in self.windows(cls="whirlpane") if "_NET_WM_WINDOW_TYPE_UTILITY" in (
            self.xprop(w, "_NET_WM_WINDOW_TYPE") or "")]

    def main_windows(self):
        """The program's visible windows of its own: "Whirlpane", and no tool."""
        # Qt names NORMAL after a dialog's own type too, as the fallback.
        return [w for w in self.windows("Whirlpane") if "= _NET_WM_WINDOW_TYPE_NORMAL" in (
            self.xprop(w, "_NET_WM_WINDOW_TYPE") or "")]

    def xwininfo(self, window):
        return subprocess.run(["xwininfo", "-id", str(window)], env=self.env, capture_output=True,
                              text=True).stdout

    def xprop(self, window, *properties):
        done = subprocess.run(["xprop", "-id", str(window), *properties], env=self.env,
                              capture_output=True, text=True)
        return done.stdout if done.returncode == 0 else None

    def panel(self):
        """The visible wheel's (x, y, width, height), or None."""
        windows = [w for w in self.windows("Whirlpane") if w in self.tool_windows()]
        if windows:
            self.wheel_window = windows[0]
        return self.geometry(windows[0]) if windows else None

    def withdrawn(self):
        """Whether the tool windows are hidden and the window manager has let
        the wheel's window go (WM_STATE removed): one shown again before that
        may never be mapped."""
        return not self.tool_windows() and "window state" not in (
            self.xprop(self.wheel_window, "WM_STATE") or "") if self.wheel_window else True
