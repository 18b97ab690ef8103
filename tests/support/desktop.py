"""A private X desktop for one test: Xvfb on a display of its own, openbox as
the window manager, and on request trayer, the xcompmgr compositor and a
private D-Bus session (on which the accessibility bus starts when first asked
for), with HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR in a scratch folder.
Programs started through it see only that desktop, each in a process group
of its own that close() stops."""
import ctypes
import os
import queue
import shutil
import signal
import subprocess
import tempfile
import threading
import time

WHIRLPANE = os.environ.get("WHIRLPANE_BINARY", "whirlpane")
SCREEN = (1280, 800)
PANEL = 266


def wait_for(predicate, timeout=10.0, step=0.05):
    """Polls `predicate` until it returns something true or `timeout` passes;
    returns its last value."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return predicate()


class Talker:
    """A program that takes commands and reports, one tab-separated line each."""

    def __init__(self, process, errors):
        self.process, self.errors_path, self.seen = process, errors, []
        self.pending = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.process.stdout:
            self.seen.append(line.rstrip("\n"))
            self.pending.put(self.seen[-1])

    def send(self, *words):
        self.process.stdin.write("\t".join(map(str, words)) + "\n")
        self.process.stdin.flush()

    def wait_for(self, prefix, timeout=10.0):
        """The first report not yet taken that starts with `prefix`, taking
        those before it; None when none comes within `timeout`."""
        deadline = time.monotonic() + timeout
        while True:
            try:
                line = self.pending.get(timeout=max(0.0, deadline - time.monotonic()))
            except queue.Empty:
                return None
            if line.startswith(prefix):
                return line

    def finish(self, timeout=10.0):
        """Closes its standard input and waits for it to end: its exit status."""
        self.process.stdin.close()
        return self.process.wait(timeout)

    def errors(self):
        with open(self.errors_path, errors="replace") as log:
            return log.read()


class Xlib:
    """The few Xlib calls that no command-line tool makes for us."""

    class Image(ctypes.Structure):
        _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                    ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
                    ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                    ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                    ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                    ("bits_per_pixel", ctypes.c_int)]

    def __init__(self, display):
        x = self.x = ctypes.cdll.LoadLibrary("libX11.so.6")
        handle, window = ctypes.c_void_p, ctypes.c_ulong
        x.XOpenDisplay.restype = handle
        x.XDefaultRootWindow.argtypes = [handle]
        x.XDefaultRootWindow.restype = window
        x.XGrabKey.argtypes = [handle, ctypes.c_int, ctypes.c_uint, window] + [ctypes.c_int] * 3
        x.XKeysymToKeycode.argtypes = [handle, ctypes.c_ulong]
        x.XSetWindowBackground.argtypes = [handle, window, ctypes.c_ulong]
        x.XClearWindow.argtypes = [handle, window]
        x.XGetInputFocus.argtypes = [handle, ctypes.POINTER(window), ctypes.POINTER(ctypes.c_int)]
        x.XGetImage.argtypes = [handle, window] + [ctypes.c_int] * 2 + [ctypes.c_uint] * 2 + [
            ctypes.c_ulong, ctypes.c_int]
        x.XGetImage.restype = ctypes.POINTER(Xlib.Image)
        x.XInternAtom.argtypes = [handle, ctypes.c_char_p, ctypes.c_int]
        x.XInternAtom.restype = ctypes.c_ulong
        x.XGetSelectionOwner.argtypes = [handle, ctypes.c_ulong]
        x.XGetSelectionOwner.restype = window
        x.XCreateSimpleWindow.argtypes = [handle, window] + [ctypes.c_int] * 2 + [
            ctypes.c_uint] * 3 + [ctypes.c_ulong] * 2
        x.XCreateSimpleWindow.restype = window
        x.XSetSelectionOwner.argtypes = [handle, ctypes.c_ulong, window, ctypes.c_ulong]
        x.XFree.argtypes = [ctypes.c_void_p]
        x.XSync.argtypes = [handle, ctypes.c_int]
        x.XCloseDisplay.argtypes = [handle]
        self.display = x.XOpenDisplay(display.encode())
        self.root = x.XDefaultRootWindow(self.display)

    def grab_key(self, modifiers, keysym=0x20):
        """Grabs `keysym` with `modifiers` and each lock variant on the root."""
        code = self.x.XKeysymToKeycode(self.display, keysym)
        for locks in (0, 0x10, 0x02, 0x12):  # NumLock, CapsLock
            self.x.XGrabKey(self.display, code, modifiers | locks, self.root, 1, 1, 1)
        self.x.XSync(self.display, 0)

    def selection_owner(self, name):
        return self.x.XGetSelectionOwner(self.display, self.x.XInternAtom(self.display,
                                                                            name.encode(), 0))

    def take_selection(self, name):
        """Makes a window of this connection the owner of selection `name`; it
        answers nobody's requests for the selection's contents."""
        window = self.x.XCreateSimpleWindow(self.display, self.root, 0, 0, 1, 1, 0, 0, 0)
        self.x.XSetSelectionOwner(self.display, self.x.XInternAtom(self.display, name.encode(), 0),
                                  window, 0)
        self.x.XSync(self.display, 0)

    def set_background(self, rgb):
        self.x.XSetWindowBackground(self.display, self.root, rgb)
        self.x.XClearWindow(self.display, self.root)
        self.x.XSync(self.display, 0)

    def focus(self):
        window, revert = ctypes.c_ulong(), ctypes.c_int()
        self.x.XGetInputFocus(self.display, ctypes.byref(window), ctypes.byref(revert))
        return window.value

    def pixel_reader(self):
        """What the screen shows now, as a function from (x, y) to 0xRRGGBB."""
        image = self.x.XGetImage(self.display, self.root, 0, 0, SCREEN[0], SCREEN[1],
                                 0xFFFFFFFF, 2).contents  # ZPixmap
        data = bytes(image.data[:image.bytes_per_line * image.height])
        line = image.bytes_per_line
        self.x.XFree(image.data)
        return lambda x, y: int.from_bytes(data[y * line + x * 4:y * line + x * 4 + 3], "little")

    def close(self):
        self.x.XCloseDisplay(self.display)


class Desktop:
    """One X server, its window manager and the programs started on it."""

    def __init__(self, tray=False, compositor=False, dbus=False):
        self.folder = tempfile.mkdtemp(prefix="whirlpane-desktop-")
        self.processes, self._xlib = [], None
        read, write = os.pipe()
        self.processes.append(subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "%dx%dx24" % SCREEN,
             "-nolisten", "tcp"], pass_fds=[write], stderr=subprocess.DEVNULL,
            start_new_session=True))
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
        for name in ("WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS",
                     "XAUTHORITY", "SESSION_MANAGER"):
            self.env.pop(name, None)
        self.start(["openbox", "--sm-disable"])
        self._ready("openbox", lambda: "window id" in subprocess.run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env, capture_output=True,
            text=True).stdout)
        if compositor:
            self.start(["xcompmgr"])
            self._ready("xcompmgr", lambda: self.xlib.selection_owner("_NET_WM_CM_S0"))
        if tray:
            self.start(["trayer", "--edge", "top", "--align", "right", "--widthtype", "request"])
            self._ready("trayer", lambda: self.xdotool("search", "--class", "trayer"))
        if dbus:
            bus = subprocess.Popen(
                ["dbus-daemon", "--session", "--nofork", "--print-address=1",
                 "--address=unix:path=" + runtime + "/bus"], env=self.env,
                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                start_new_session=True)
            self.processes.append(bus)
            self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()

    def _ready(self, name, check):
        if not wait_for(check, timeout=20):
            self.close()
            raise RuntimeError(name + " did not start")

    @property
    def xlib(self):
        if self._xlib is None:
            self._xlib = Xlib(self.env["DISPLAY"])
        return self._xlib

    def start(self, command, talk=False, **extra_env):
        """Starts `command` on this desktop; with `talk`, a Talker on its
        standard input and output, its errors in the scratch folder."""
        env = dict(self.env, **extra_env)
        if not talk:
            process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL, start_new_session=True)
            self.processes.append(process)
            return process
        errors = os.path.join(self.folder, "%s-%d.err" % (os.path.basename(command[0]),
                                                           len(self.processes)))
        with open(errors, "w") as log:
            process = subprocess.Popen(command, env=env, stdin=subprocess.PIPE,
                                       stdout=subprocess.PIPE, stderr=log, text=True,
                                       start_new_session=True)
        self.processes.append(process)
        return Talker(process, errors)

    def whirlpane(self, *arguments):
        return self.start([WHIRLPANE, *arguments])

    def xdotool(self, *arguments):
        done = subprocess.run(["xdotool", *arguments], env=self.env, capture_output=True,
                              text=True)
        return done.stdout.strip() if done.returncode == 0 else None

    def window(self, title):
        """The first visible window titled exactly `title`, or None."""
        found = self.xdotool("search", "--onlyvisible", "--name", "^%s$" % title)
        return int(found.split()[0]) if found else None

    def geometry(self, window):
        shell = self.xdotool("getwindowgeometry", "--shell", str(window))
        values = dict(line.split("=") for line in (shell or "").splitlines())
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT")) if values else None

    def panel(self):
        """The visible wheel's (x, y, width, height), or None."""
        window = self.window("Whirlpane")
        return self.geometry(window) if window else None

    def states(self, window):
        """The names in `window`'s _NET_WM_STATE."""
        shown = subprocess.run(["xprop", "-id", str(window), "_NET_WM_STATE"], env=self.env,
                               capture_output=True, text=True).stdout
        return [name.strip() for name in shown.partition("=")[2].split(",") if name.strip()]

    def close(self):
        if self._xlib:
            self._xlib.close()
        for process in reversed(self.processes):
            try:
                os.killpg(process.pid, signal.SIGTERM)
            except ProcessLookupError:
                continue
            try:
                process.wait(5)
            except subprocess.TimeoutExpired:
                pass
            try:
                os.killpg(process.pid, signal.SIGKILL)  # what it left in its group
            except ProcessLookupError:
                pass
            process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)
