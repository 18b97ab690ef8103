#!/usr/bin/env python3
"""The wheel on a real X display, where only a real server can tell: where
its window goes and what the window manager makes of it, the focus, a real
drag dropped on a wedge, the compositor's detection and AT-SPI. One desktop
and one wheel-harness serve the cases; each leaves the wheel hidden. Run by
CTest with WHEEL_HARNESS and DRAG_SOURCE naming the test programs; run with
--atspi APPLICATION LABEL, it is the assistive tool."""
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../support"))
from desktop import Desktop, centred_at, wait_for  # noqa: E402


class WheelOnDesktop(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.desktop = Desktop(dbus=True)
        cls.wheel = cls.desktop.start([os.environ["WHEEL_HARNESS"]], talk=True,
                                      QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        if not cls.wheel.wait_for("ready"):
            cls.desktop.close()
            raise RuntimeError("no wheel-harness: " + cls.wheel.errors())

    @classmethod
    def tearDownClass(cls):
        cls.desktop.close()

    def tearDown(self):
        self.wheel.send("hide")
        self.assertTrue(wait_for(self.desktop.withdrawn), "the wheel stays")

    def show(self, x, y, mode, *files):
        """Shows the wheel centred on (x, y): its window once it is there."""
        self.wheel.send("show", x, y, mode, "formats", *files)
        self.assertTrue(self.wheel.wait_for("shown"), self.wheel.errors())
        expected = centred_at(x, y)
        if x == 0 and y == 0:
            expected = (-14, -14, *expected[2:])  # only the margin leaves the screen
        self.assertEqual(wait_for(lambda: self.desktop.panel() == expected and self.desktop.panel()),
                         expected)
        return self.desktop.windows("Whirlpane")[0]

    def drag_source(self, *files):
        source = self.desktop.start([os.environ["DRAG_SOURCE"], "40", "40", *files], talk=True)
        self.assertTrue(source.wait_for("ready"), source.errors())
        self.assertTrue(wait_for(lambda: self.desktop.windows("Drag source")))
        return source, self.desktop.windows("Drag source")[0]

    def xdotool(self, commands):
        self.assertIsNotNone(self.desktop.xdotool(commands), commands)

    def test_a_menu_showing_is_placed_above_all_takes_the_focus_and_goes_on_escape(self):
        self.assertIn("compositor\tno", self.wheel.seen)
        self.show(0, 0, "menu", "/p/photo.jpg")
        panel = self.show(640, 400, "menu", "/p/photo.jpg")
        states = self.desktop.xprop(panel, "_NET_WM_STATE")
        for state in ("_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER",
                      "_NET_WM_STATE_ABOVE"):
            self.assertIn(state, states)
        self.assertTrue(wait_for(lambda: self.desktop.focus() == panel))
        self.xdotool("key Escape")
        self.assertTrue(self.wheel.wait_for("hidden"))

    def test_a_real_drag_dropped_on_a_wedge_reaches_on_action(self):
        album = os.path.join(self.desktop.folder, "album")
        photo = os.path.join(self.desktop.folder, "holiday photo.jpg")
        os.mkdir(album)
        open(photo, "w").close()
        source, source_window = self.drag_source(album, photo)
        self.addCleanup(source.process.terminate)
        # Opened for a PDF, the wheel offers the photo's formats once it is
        # dragged over, the folder left out; the source keeps the focus.
        self.xdotool("mousemove 140 110 mousedown 1 sleep 0.1 mousemove 300 250 sleep 0.05 "
                     "mousemove 640 400 sleep 0.1")
        self.show(640, 400, "drag", "/p/report.pdf")
        self.assertTrue(self.wheel.wait_for("nudged"))
        self.assertEqual(self.desktop.focus(), source_window)
        self.xdotool("mousemove 640 360 sleep 0.05 mousemove 640 330 sleep 0.05 "
                     "mousemove 640 320 sleep 0.2 mouseup 1")
        self.assertEqual(self.wheel.wait_for("action"), "action\tpng\t" + photo,
                         self.wheel.errors())
        self.assertEqual(source.wait_for("dropped"), "dropped copy")
        # A release without moving, on the spot where a wedge came up under
        # the resting drag: the wheel's nudge makes the source find it.
        self.wheel.send("hide")
        self.assertTrue(self.wheel.wait_for("hidden"))
        self.xdotool("mousemove 140 110 mousedown 1 sleep 0.1 mousemove 300 200 sleep 0.05 "
                     "mousemove 640 300 sleep 0.2")
        self.show(640, 380, "drag")
        self.assertTrue(self.wheel.wait_for("nudged"))
        self.xdotool("sleep 0.3 mouseup 1")
        self.assertEqual(self.wheel.wait_for("action"), "action\tpng\t" + photo)
        self.assertEqual(source.wait_for("dropped"), "dropped copy")

    def test_assistive_tools_list_the_wedges_and_press_them(self):
        self.show(640, 400, "menu", "/p/photo.jpg")
        client = self.desktop.start(["/usr/bin/python3", os.path.abspath(__file__), "--atspi",
                                     "wheel-harness", "PNG"], talk=True)
        self.assertEqual(client.wait_for("buttons", 60), "\t".join(
            ["buttons", "PNG", "WEBP", "HEIC", "TIFF", "AVIF", "BMP", "PDF", "DOCX"]),
            client.errors())
        self.assertEqual(client.wait_for("pressed"), "pressed PNG")
        self.assertEqual(self.wheel.wait_for("action"), "action\tpng\t/p/photo.jpg")

    def test_only_a_menu_showing_goes_when_the_focus_leaves(self):
        source, other = self.drag_source()
        self.addCleanup(source.process.terminate)
        seen = len(self.wheel.seen)
        panel = self.show(640, 400, "drag", "/p/photo.jpg")
        self.xdotool("mousemove 140 110 click 1")
        self.assertTrue(wait_for(lambda: self.desktop.focus() == other))
        self.show(640, 400, "menu", "/p/photo.jpg")  # answered after any hiding
        self.assertNotIn("hidden", self.wheel.seen[seen:], "a drag showing stays")
        self.assertTrue(wait_for(lambda: self.desktop.focus() == panel))
        self.xdotool("mousemove 140 110 click 1")
        self.assertTrue(self.wheel.wait_for("hidden"))

    def test_the_compositor_is_found_by_its_selection_owner(self):
        desktop = Desktop(compositor=True)
        self.addCleanup(desktop.close)
        wheel = desktop.start([os.environ["WHEEL_HARNESS"]], talk=True)
        self.assertEqual(wheel.wait_for("compositor"), "compositor\tyes", wheel.errors())


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
        if a is not None and a.name == application and buttons_of(a)), None), 40, 0.1)
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
