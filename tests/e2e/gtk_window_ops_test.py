#!/usr/bin/env python3
"""The page controls its window, in the real Linux runtime under X with openbox: a packed page
(window_app/) calls the app and window operations step by step and reports each step's results
as its caption; after each step this test reads the window back from X (position and size with
the frame, _NET_WM_STATE, _NET_FRAME_EXTENTS, the window type and allowed actions) and checks
both, then lets the page go on. Covers every border word, every state word, a maximise and a
resize by the user, on top on and off, the title set and emptied, zoom in the engine, bounds,
full screen entered and left; and an app started in full screen (WindowStyle=1, WindowBorder=0)
under a German locale, which writes the zoom with a decimal comma."""
import json
import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from gtk_startup_test import Display, wait_for, windows  # noqa: E402

APP_ID = "org.velmora.e2e.window"
APP_NAME = "Window Test"
FIXTURE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "window_app")
SCREEN = (1280, 1024)


def fixture_files():
    files = {}
    for name in os.listdir(FIXTURE):
        with open(os.path.join(FIXTURE, name), "rb") as f:
            files[name] = f.read()
    return files


def xprop(wid, prop):
    out = subprocess.run(["xprop", "-id", str(wid), prop], capture_output=True, text=True).stdout
    if "=" not in out:
        return []
    return [v.strip() for v in out.split("=", 1)[1].split(",")]


class XWindow:
    """The window as X and the window manager have it now."""

    def __init__(self, wid):
        info = subprocess.run(["xwininfo", "-id", str(wid)], capture_output=True, text=True).stdout
        fields = {}
        for line in info.splitlines():
            if ":" in line:
                key, value = line.strip().split(":", 1)
                fields[key] = value.strip()
        x, y = int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"])
        w, h = int(fields["Width"]), int(fields["Height"])
        extents = [int(v) for v in xprop(wid, "_NET_FRAME_EXTENTS")] or [0, 0, 0, 0]
        left, right, top, bottom = extents
        self.outer = {"left": x - left, "top": y - top, "width": w + left + right, "height": h + top + bottom}
        self.title_bar = top
        self.state = set(xprop(wid, "_NET_WM_STATE"))
        self.type = xprop(wid, "_NET_WM_WINDOW_TYPE")
        self.resizable = "_NET_WM_ACTION_RESIZE" in xprop(wid, "_NET_WM_ALLOWED_ACTIONS")

    @property
    def maximized(self):
        return {"_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ"} <= self.state

    @property
    def hidden(self):
        return "_NET_WM_STATE_HIDDEN" in self.state

    @property
    def above(self):
        return "_NET_WM_STATE_ABOVE" in self.state


class PageRun:
    """One running app and its page's steps."""

    def __init__(self, test, exe, args=(), env=None):
        self.test, self.exe = test, exe
        self.proc = harness.start(exe, *args, env=env)
        self.step = 0
        self.wid = None

    def caption(self):
        if self.wid is not None:  # also while minimised (not viewable)
            return self.wid, harness.window_name(self.wid)
        for wid in windows(self.proc):
            return wid, harness.window_name(wid)
        return None, None

    def wait_caption(self, predicate, timeout=60):
        found = {}

        def probe():
            wid, name = self.caption()
            if name is not None and predicate(name):
                found["wid"], found["name"] = wid, name
                return True
            return self.proc.poll() is not None

        wait_for(probe, timeout)
        if "name" not in found:
            self.test.fail("the page never showed the awaited caption; last: %r; stderr: %s"
                           % (self.caption()[1], self.stderr_tail()))
        if self.wid is None:
            self.wid = found["wid"]
        return found["name"]

    def next(self, name):
        """The results of the page's next step, which must be name; the page waits meanwhile."""
        self.step += 1
        prefix = "STEP %d " % self.step
        caption = self.wait_caption(lambda n: n.startswith(prefix))
        report = json.loads(caption[len(prefix):])
        self.test.assertEqual(report["step"], name)
        self.test.assertNotIn("error", report["results"], report)
        return report["results"]

    def next_caption(self, expected):
        """A step that sets the caption itself: the caption is awaited, then the go is given."""
        self.step += 1
        wait_for(lambda: harness.window_name(self.wid) == expected, 30)
        name = harness.window_name(self.wid)
        self.go()
        return name

    def go(self):
        with open(os.path.join(os.path.dirname(self.exe), "go-%d.txt" % self.step), "w") as f:
            f.write("go\n")

    def window(self):
        return XWindow(self.wid)

    def stderr_tail(self):
        return harness.stderr_tail(self.proc)


class WindowOpsTest(unittest.TestCase):
    def setUp(self):
        Display.current.ensure_window_manager()
        self.workdir = harness.Workdir()
        self.dir = self.workdir.__enter__()
        self.env = harness.gtk_app_env(self.dir, LC_ALL="en_US.UTF-8")
        self.runs = []

    def tearDown(self):
        for run in self.runs:
            harness.stop(run.proc)
            run.proc.stdout.close()
            run.proc.stderr.close()
        self.workdir.__exit__(None, None, None)

    def start(self, ini, args=(), env=None):
        text = "[App]\nID=%s\nName=%s\nDirName=app\nDynamicAppTitle=1\n%s" % (APP_ID, APP_NAME, ini)
        exe = harness.pack_app(self.dir, text, fixture_files())
        run = PageRun(self, exe, args, {**self.env, **(env or {})})
        self.runs.append(run)
        return run

    def assert_bounds(self, reported, window, label):
        self.assertEqual(reported, window.outer, "%s: getSize against X (frame included)" % label)

    def assert_border(self, window, word):
        self.assertEqual(window.title_bar > 0, word != "none", "decorations for " + word)
        self.assertEqual(window.resizable, word in ("none", "sizeable", "sizetoolwindow"), "resizable for " + word)
        kind = {"dialog": "DIALOG", "toolwindow": "UTILITY", "sizetoolwindow": "UTILITY"}.get(word, "NORMAL")
        self.assertEqual(window.type, ["_NET_WM_WINDOW_TYPE_" + kind], "window type for " + word)

    def test_every_operation_read_back_from_x(self):
        args = ("--alpha", "two words", "third")
        run = self.start("Width=800\nHeight=600\n", args)

        r = run.next("start")
        exe = os.path.realpath(run.exe)
        self.assertEqual(r["args"], [exe, *args])
        self.assertEqual((r["hello"], r["isRuntime"], r["inFullscreen"]), ("2023.3", True, False))
        self.assertEqual((r["style"], r["state"], r["border"], r["zoom"]), ("normal", "normal", "sizeable", "1"))
        self.assertEqual(r["title"], "loading", "the caption at the time: the document's title")
        w = run.window()
        self.assert_bounds(r["size"], w, "start")
        self.assertEqual((w.maximized, w.above, w.title_bar > 0), (False, False, True))
        harness.screenshot(run.wid, "gtk_window_ops_start")
        run.go()

        for word in ("none", "single", "dialog", "toolwindow", "sizetoolwindow", "sizeable"):
            with self.subTest(border=word):
                r = run.next("border " + word)
                w = run.window()
                run.go()
                self.assertEqual((r["set"], r["border"]), (True, word))
                self.assert_border(w, word)
                self.assert_bounds(r["size"], w, "border " + word)
        r = run.next("border kept")
        self.assertEqual(r, {"unknown": True, "empty": True, "border": "sizeable"})
        run.go()

        for word in ("maximized", "minimized", "normal"):
            with self.subTest(state=word):
                r = run.next("state " + word)
                w = run.window()
                run.go()
                self.assertEqual((r["set"], r["state"]), (True, word))
                # A maximised window that is minimised stays maximised for when it comes back.
                self.assertEqual(w.hidden, word == "minimized", w.state)
                if word != "minimized":
                    self.assertEqual(w.maximized, word == "maximized", w.state)
                    self.assert_bounds(r["size"], w, "state " + word)
                if word == "maximized":
                    self.assertEqual((r["size"]["width"], r["size"]["left"]), (SCREEN[0], 0))
        r = run.next("state kept")
        self.assertEqual(r, {"unknown": True, "empty": True, "state": "normal"})

        # The user maximises the window with a double click on its title bar.
        w = run.window()
        x, y = w.outer["left"] + w.outer["width"] // 2, w.outer["top"] + w.title_bar // 2
        harness.xdotool("mousemove", x, y, "click", "--repeat", "2", "--delay", "100", "1")
        self.assertTrue(wait_for(lambda: run.window().maximized, 10), "the double click did not maximise")
        run.go()
        r = run.next("user maximised")
        self.assertEqual(r["state"], "maximized")
        self.assert_bounds(r["size"], run.window(), "maximised by the user")
        run.go()

        # The page restores it, then the window is resized from outside.
        r = run.next("user restored")
        self.assertEqual((r["set"], r["state"]), (True, "normal"))
        self.assert_bounds(r["size"], run.window(), "restored")
        harness.xdotool("windowsize", run.wid, 600, 450)
        self.assertTrue(wait_for(lambda: run.window().outer["width"] != r["size"]["width"], 10))
        time.sleep(0.3)
        run.go()
        r = run.next("user resized")
        w = run.window()
        self.assertEqual(r["state"], "normal")
        self.assert_bounds(r["size"], w, "resized by the user")
        self.assertEqual(r["size"]["width"] - w.outer["width"] + 600, 600)
        run.go()
        r = run.next("ontop")
        self.assertEqual((r["set"], r["style"]), (True, "ontop"))
        self.assertTrue(run.window().above)
        run.go()
        r = run.next("ontop upper case is normal")
        self.assertEqual((r["set"], r["style"]), (True, "normal"))
        self.assertFalse(run.window().above)
        run.go()

        self.assertEqual(run.next_caption('Fenster über "alles"'), 'Fenster über "alles"')
        r = run.next("title")
        self.assertEqual(r, {"set": True, "title": 'Fenster über "alles"'})
        run.go()
        self.assertEqual(run.next_caption(""), "")
        r = run.next("title emptied")
        self.assertEqual(r, {"set": True, "title": ""})
        run.go()

        r = run.next("zoom")
        self.assertEqual((r["set"], r["zoom"], r["comma"], r["reset"]), (True, "1.5", False, "1"))
        self.assertAlmostEqual(r["widthRatio"], 1.5, delta=0.02, msg="the engine's zoom")
        self.assertAlmostEqual(r["widthAfterReset"], 1.0, delta=0.02)
        self.assertEqual((r["text"], r["textZoom"]), (True, "1.25"))
        run.go()

        r = run.next("set size")
        self.assertEqual(r["size"], {"left": 100, "top": 80, "width": 700, "height": 500})
        self.assert_bounds(r["size"], run.window(), "set size")
        run.go()
        r = run.next("set width only")
        self.assertEqual(r["size"], {"left": 100, "top": 80, "width": 640, "height": 500})
        self.assert_bounds(r["size"], run.window(), "set width only")
        run.go()

        r = run.next("fullscreen")
        self.assertEqual((r["inFullscreen"], r["border"], r["state"]), (True, "none", "maximized"))
        w = run.window()
        self.assertEqual((w.maximized, w.title_bar), (True, 0))
        self.assert_bounds(r["size"], w, "full screen")
        self.assertEqual(r["again"], {"inFullscreen": True, "state": "maximized", "size": r["size"]})
        harness.screenshot(run.wid, "gtk_window_ops_fullscreen")
        run.go()
        r = run.next("border and state in full screen")
        self.assertEqual(r, {"inFullscreen": True, "border": "single", "state": "normal"})
        run.go()
        r = run.next("fullscreen left")
        self.assertEqual((r["inFullscreen"], r["border"], r["state"]), (False, "sizeable", "normal"))
        self.assertEqual(r["again"], {"inFullscreen": False, "state": "normal"})
        self.assertEqual(r["size"], {"left": 60, "top": 40, "width": 720, "height": 520})
        w = run.window()
        self.assertFalse(w.maximized)
        self.assert_border(w, "sizeable")
        self.assert_bounds(r["size"], w, "after full screen")
        run.go()
        run.wait_caption(lambda n: n == "DONE")

    def test_started_in_full_screen_under_a_german_locale(self):
        run = self.start("WindowStyle=1\nWindowBorder=0\nWindowState=0\n", env={"LC_ALL": "de_DE.UTF-8"})
        r = run.next("start")
        self.assertEqual(r["args"], [os.path.realpath(run.exe)])
        self.assertEqual((r["inFullscreen"], r["border"], r["state"]), (True, "none", "maximized"))
        w = run.window()
        self.assertEqual((w.maximized, w.title_bar), (True, 0))
        self.assert_bounds(r["size"], w, "started in full screen")
        run.go()
        r = run.next("zoom")
        self.assertEqual(r, {"set": True, "zoom": "1,5", "comma": False, "reset": "1"})
        run.go()
        r = run.next("fullscreen left")
        self.assertEqual((r["inFullscreen"], r["border"], r["state"]), (False, "none", "normal"))
        w = run.window()
        self.assertFalse(w.maximized)
        self.assert_border(w, "none")
        self.assert_bounds(r["size"], w, "left full screen")
        run.go()
        run.wait_caption(lambda n: n == "DONE")


def main():
    with Display():
        sys.exit(harness.run_tests())


if __name__ == "__main__":
    main()
