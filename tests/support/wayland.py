# SPDX-License-Identifier: GPL-3.0-or-later
"""A private Wayland desktop: sway on its headless backend (a 1280x800 output
with a plain wallpaper of WALLPAPER), with a pointer made by the
virtual-pointer client and keys typed by wtype, windows read from sway's tree
and pixels from grim. sway refuses to run as root: under root it runs as the
unprivileged `nobody`, with a home and runtime folder of its own, and the
programs started here reach its socket by its full path. Programs started
through it see only this desktop (no X display), each in a process group that
close() stops."""
import json
import os
import subprocess

from desktop import SCREEN, Session, wait_for

WALLPAPER = (0x30, 0x60, 0xA0)
POINTER = os.environ.get("VIRTUAL_POINTER", "virtual-pointer")
NOBODY = 65534


class WaylandDesktop(Session):
    def __init__(self, pointer=False):
        self._begin("whirlpane-wayland-")
        os.chmod(self.folder, 0o755)
        own = os.path.join(self.folder, "sway")
        compositor_runtime = os.path.join(own, "runtime")
        os.makedirs(compositor_runtime, 0o700)
        config = os.path.join(own, "config")
        with open(config, "w") as out:
            out.write("output * bg #%02x%02x%02x solid_color\n" % WALLPAPER
                      + "output HEADLESS-1 resolution %dx%d\n" % SCREEN
                      + "default_border none\ndefault_floating_border none\n"
                      + "xwayland disable\nfocus_follows_mouse no\n")
        command = ["sway", "--config", config]
        if os.getuid() == 0:
            for path in (own, compositor_runtime):
                os.chown(path, NOBODY, NOBODY)
            os.chmod(config, 0o644)
            command = ["setpriv", "--reuid=%d" % NOBODY, "--regid=%d" % NOBODY,
                       "--clear-groups", *command]
        sway = self.start(command, HOME=own, XDG_RUNTIME_DIR=compositor_runtime,
                          WLR_BACKENDS="headless", WLR_LIBINPUT_NO_DEVICES="1",
                          WLR_RENDERER="pixman")
        socket = wait_for(lambda: next((os.path.join(compositor_runtime, name) for name in
                                        sorted(os.listdir(compositor_runtime)) if
                                        name.startswith("wayland-") and "." not in name), None),
                          timeout=30)
        ipc = wait_for(lambda: next((os.path.join(compositor_runtime, name) for name in
                                     os.listdir(compositor_runtime)
                                     if name.startswith("sway-ipc.")), None), timeout=30)
        # The programs keep their own runtime folder, which Qt wants to be theirs.
        self.env.update(WAYLAND_DISPLAY=socket or "", SWAYSOCK=ipc or "",
                        QT_QPA_PLATFORM="wayland", GDK_BACKEND="wayland")
        self._ready("sway", lambda: socket and ipc and self.outputs(), sway)
        self.pointer = None
        if pointer:
            self.pointer = self.start([POINTER, str(SCREEN[0]), str(SCREEN[1])], talk=True)
            if self.pointer.wait_for("ready") != "ready":
                why = self.pointer.errors()
                self.close()
                raise RuntimeError("no virtual pointer: " + why)

    def swaymsg(self, kind, *command):
        done = subprocess.run(["swaymsg", "-r", "-t", kind, *command], env=self.env,
                              capture_output=True, text=True)
        return json.loads(done.stdout) if done.returncode == 0 and done.stdout else None

    def outputs(self):
        return [o for o in self.swaymsg("get_outputs") or [] if o.get("active")]

    def windows(self, name=None, app_id=None):
        """The mapped windows (sway's tree nodes) titled `name` or of `app_id`."""
        found = []

        def walk(node):
            if node.get("pid") and node.get("visible") is not False and (
                    (name is None or node.get("name") == name)
                    and (app_id is None or node.get("app_id") == app_id)):
                found.append(node)
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                walk(child)
        walk(self.swaymsg("get_tree") or {})
        return found

    def focused(self):
        """The title of the window that has the keyboard focus, or None."""
        def walk(node):
            if node.get("focused") and node.get("pid"):
                return node.get("name")
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                found = walk(child)
                if found:
                    return found
            return None
        return walk(self.swaymsg("get_tree") or {})

    def rect(self, name, side=None):
        """The desktop rectangle (x, y, width, height) of the first window
        titled `name` (and `side` wide and high, when given), or None."""
        for window in self.windows(name):
            r = window["rect"]
            if side is None or (r["width"], r["height"]) == (side, side):
                return r["x"], r["y"], r["width"], r["height"]
        return None

    def move_window(self, name, side, x, y):
        """Moves the floating window titled `name`, `side` wide and high, to
        (x, y), as its user would drag it."""
        for window in self.windows(name):
            if (window["rect"]["width"], window["rect"]["height"]) == (side, side):
                self.swaymsg("command", "[con_id=%d] move position %d %d" % (window["id"], x, y))
                return wait_for(lambda: self.rect(name, side)[:2] == (x, y))
        return False

    def screenshot(self, path=None):
        """The desktop's pixels: a function from (x, y) to (r, g, b); with
        `path`, also written there as PNG."""
        if path:
            subprocess.run(["grim", path], env=self.env, check=True)
        shot = subprocess.run(["grim", "-t", "ppm", "-"], env=self.env, check=True,
                              capture_output=True).stdout
        # "P6\n<width> <height>\n255\n" then the rows of RGB.
        magic, width, height, top, pixels = shot.split(maxsplit=4)
        width = int(width)
        return lambda x, y: tuple(pixels[(y * width + x) * 3:(y * width + x) * 3 + 3])

    def type(self, text):
        """Types `text` in the focused window, after the pause in which it
        takes wtype's new keyboard."""
        subprocess.run(["wtype", "-s", "1200", text], env=self.env, check=True, timeout=30)

    def move(self, *points, down=None):
        """Moves the pointer through `points`, then presses (True) or releases
        (False) the left button; each step reaches the compositor before the
        next."""
        for x, y in points:
            self._point("move %d %d" % (x, y))
        if down is not None:
            self._point("down" if down else "up")

    def _point(self, command):
        self.pointer.process.stdin.write(command + "\n")
        self.pointer.process.stdin.flush()
        if self.pointer.wait_for("ok") != "ok":
            raise RuntimeError("the virtual pointer stopped: " + self.pointer.errors())
