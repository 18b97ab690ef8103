#!/usr/bin/env python3
"""The wheel on a real X display (Xvfb, with openbox managing the windows):
where its window appears, what it looks like without a compositor, that a
real drag dropped on a wedge reaches onAction, how it keeps or takes the
focus, and what an assistive tool sees over AT-SPI. Run by CTest with
WHEEL_HARNESS and DRAG_SOURCE naming the test programs; run with --atspi
APPLICATION LABEL, it is the assistive tool."""
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../support"))
from desktop import PANEL, Desktop, wait_for  # noqa: E402

DESKTOP_COLOUR = 0x336699


class WheelOnDesktop(unittest.TestCase):
    def show_desktop(self, **options):
        """A desktop in one colour with the wheel's test program on it."""
        accessible = options.pop("accessible", False)
        self.desktop = Desktop(**options)
        self.addCleanup(self.desktop.close)
        self.desktop.xlib.set_background(DESKTOP_COLOUR)
        extra = {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"} if accessible else {}
        self.wheel = self.desktop.start([os.environ["WHEEL_HARNESS"]], talk=True, **extra)
        self.assertTrue(self.wheel.wait_for("ready"), self.wheel.errors())

    def show(self, x, y, mode, *files):
        self.wheel.send("show", x, y, mode, "formats", *files)
        self.assertTrue(self.wheel.wait_for("shown"), self.wheel.errors())

    def panel_at(self, x, y):
        """The wheel's window once it is on the screen at (x, y)."""
        if wait_for(lambda: self.desktop.panel() == (x, y, PANEL, PANEL)):
            return self.desktop.window("Whirlpane")
        self.fail("no wheel at %d,%d but %s" % (x, y, self.desktop.panel()))

    def drag_source(self, *files):
        source = self.desktop.start([os.environ["DRAG_SOURCE"], "40", "40", *files], talk=True)
        self.assertTrue(source.wait_for("ready"), source.errors())
        return source, self.desktop.window("Drag source")

    def xdotool(self, commands):
        self.assertIsNotNone(self.desktop.xdotool(*commands.split()), commands)

    def test_comes_up_centred_on_the_point_and_cut_to_the_disc(self):
        self.show_desktop()
        self.assertIn("compositor\tno", self.wheel.seen)
        # At a corner only the transparent margin goes off the screen.
        for at, origin in (((640, 400), (507, 267)), ((0, 0), (-14, -14)),
                           ((1279, 799), (1028, 548))):
            self.show(*at, "menu", "/p/photo.jpg")
            self.panel_at(*origin)
        self.show(640, 400, "menu", "/p/photo.jpg")
        panel = self.panel_at(507, 267)
        states = self.desktop.states(panel)
        for state in ("_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER",
                      "_NET_WM_STATE_ABOVE"):
            self.assertIn(state, states)

        # Without a compositor the window is opaque, so it is cut to the disc:
        # once the wheel has settled at its full size, the desktop shows in the
        # window's corners and just outside the rim.
        def settled():
            pixel = self.desktop.xlib.pixel_reader()
            rim = [pixel(640, 400 + dy) == DESKTOP_COLOUR for dy in (-117, 117, -122, 122)]
            return pixel if rim == [False, False, True, True] else None

        pixel = wait_for(settled)
        self.assertTrue(pixel, "the wheel never settled at its full size")
        for corner in ((509, 269), (771, 531), (509, 531), (728, 312)):
            self.assertEqual(pixel(*corner), DESKTOP_COLOUR, corner)
        red, green, blue = pixel(640, 385).to_bytes(3, "big")
        self.assertGreater((red + green + blue) / 3, 200, "the pill, above its caption")

        # A normal showing takes the keyboard focus: Escape dismisses it.
        self.assertTrue(wait_for(lambda: self.desktop.xlib.focus() == panel))
        self.xdotool("key Escape")
        self.assertTrue(self.wheel.wait_for("hidden"))
        self.assertTrue(wait_for(lambda: self.desktop.panel() is None))
        self.assertEqual(self.wheel.finish(), 0, self.wheel.errors())

    def test_the_compositor_is_found_by_its_selection_owner(self):
        self.show_desktop(compositor=True)
        self.assertIn("compositor\tyes", self.wheel.seen)

    def test_a_real_drag_dropped_on_a_wedge_reaches_on_action(self):
        self.show_desktop()
        album = os.path.join(self.desktop.folder, "album")
        photo = os.path.join(self.desktop.folder, "holiday photo.jpg")
        os.mkdir(album)
        open(photo, "w").close()
        source, source_window = self.drag_source(album, photo)

        # The drag rests at the point where the wheel comes up, opened for a
        # PDF; the photo dragged over it brings the image formats, PNG at the
        # top. The folder dragged along is left out.
        self.xdotool("mousemove 140 110 mousedown 1 sleep 0.1 mousemove 300 250 sleep 0.05 "
                     "mousemove 640 400 sleep 0.1")
        self.show(640, 400, "drag", "/p/report.pdf")
        self.assertTrue(self.wheel.wait_for("nudged"))
        self.assertEqual(self.desktop.xlib.focus(), source_window, "the source keeps the focus")
        self.xdotool("mousemove 640 360 sleep 0.05 mousemove 640 330 sleep 0.05 "
                     "mousemove 640 320 sleep 0.2 mouseup 1")
        self.assertEqual(self.wheel.wait_for("action"), "action\tpng\t" + photo,
                         self.wheel.errors())
        self.assertEqual(source.wait_for("dropped"), "dropped copy")

        # The wheel comes up under a drag that rests on the spot where a wedge
        # will be, and the button is released without moving: the pointer's
        # nudge is what makes the source find the wheel.
        self.wheel.send("hide")
        self.assertTrue(self.wheel.wait_for("hidden"))
        self.xdotool("mousemove 140 110 mousedown 1 sleep 0.1 mousemove 300 200 sleep 0.05 "
                     "mousemove 640 300 sleep 0.2")
        self.show(640, 380, "drag")
        self.assertTrue(self.wheel.wait_for("nudged"))
        self.xdotool("sleep 0.3 mouseup 1")
        self.assertEqual(self.wheel.wait_for("action"), "action\tpng\t" + photo)
        self.assertEqual(source.wait_for("dropped"), "dropped copy")

    def test_only_a_menu_showing_goes_when_the_focus_leaves(self):
        self.show_desktop()
        _, other = self.drag_source()
        self.show(640, 400, "drag", "/p/photo.jpg")
        panel = self.panel_at(507, 267)
        self.xdotool("mousemove 140 110 click 1")
        self.assertTrue(wait_for(lambda: self.desktop.xlib.focus() == other))
        self.show(640, 400, "menu", "/p/photo.jpg")  # answered after any hiding
        self.assertNotIn("hidden", self.wheel.seen, "a drag showing stays")
        self.assertTrue(wait_for(lambda: self.desktop.xlib.focus() == panel))
        self.xdotool("mousemove 140 110 click 1")
        self.assertTrue(self.wheel.wait_for("hidden"))

    def test_assistive_tools_list_the_wedges_and_press_them(self):
        self.show_desktop(dbus=True, accessible=True)
        self.show(640, 400, "menu", "/p/photo.jpg")
        self.panel_at(507, 267)
        client = self.desktop.start(["/usr/bin/python3", os.path.abspath(__file__), "--atspi",
                                     "wheel-harness", "PNG"], talk=True)
        self.assertEqual(client.wait_for("buttons", 20), "\t".join(
            ["buttons", "PNG", "WEBP", "HEIC", "TIFF", "AVIF", "BMP", "PDF", "DOCX"]),
            client.errors())
        self.assertEqual(client.wait_for("pressed"), "pressed PNG")
        self.assertEqual(self.wheel.wait_for("action"), "action\tpng\t/p/photo.jpg")


def assistive_tool(application, label):
    """Prints the application's push buttons in order once it shows any, then
    presses the one called `label`."""
    import pyatspi

    def buttons_of(node):
        found = []
        for child in filter(None, (node.getChildAtIndex(i) for i in range(node.childCount))):
            if child.getRole() == pyatspi.ROLE_PUSH_BUTTON:
                found.append(child)
            found.extend(buttons_of(child))
        return found

    desktop = pyatspi.Registry.getDesktop(0)
    buttons = wait_for(lambda: next((buttons_of(a) for a in (
        desktop.getChildAtIndex(i) for i in range(desktop.childCount))
        if a is not None and a.name == application and buttons_of(a)), None), step=0.1)
    if not buttons:
        sys.exit("no buttons of %s appeared" % application)
    print("\t".join(["buttons"] + [b.name for b in buttons]), flush=True)
    for button in buttons:
        action = button.queryAction()
        for i in range(action.nActions):
            if button.name == label and action.getName(i) == "Press":
                action.doAction(i)
                print("pressed", label, flush=True)
                return
    sys.exit("no button %s to press" % label)


if __name__ == "__main__":
    if sys.argv[1:2] == ["--atspi"]:
        assistive_tool(*sys.argv[2:4])
    else:
        unittest.main()
