#!/usr/bin/env python3
"""The page controls its window, in the real windows-x64 runtime under wine64 with the recording
browser stand-in: the app and window operations are posted as the page's messages, each reply is
compared byte for byte, and after each change the main window is read back with Win32 (style and
extended style bits, visible, iconic, zoomed, outer bounds, caption) by a helper of ours; the zoom
factor is read from what the host asked of the controller. A second app starts in full screen
(WindowStyle=1, WindowBorder=0) under a German locale."""
import json
import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
from win32_browser_test import BrowserLog, calls, end_app, start_with_stand_in  # noqa: E402

ARGS = None
LOCAL_APP_DATA = ""
SCREEN = {"top": 0, "left": 0, "width": 1280, "height": 1024}

WS_POPUP, WS_CAPTION, WS_SYSMENU, WS_THICKFRAME = 0x80000000, 0x00C00000, 0x00080000, 0x00040000
WS_MINIMIZEBOX, WS_MAXIMIZEBOX = 0x00020000, 0x00010000
WS_OVERLAPPEDWINDOW = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX
WS_EX_DLGMODALFRAME, WS_EX_TOPMOST, WS_EX_TOOLWINDOW = 0x1, 0x8, 0x80
# The bits a border decides, and what each border word gives.
BORDER_STYLES, BORDER_EX_STYLES = WS_POPUP | WS_OVERLAPPEDWINDOW, WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW
BORDERS = {
    "none": (WS_POPUP, 0),
    "single": (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0),
    "sizeable": (WS_OVERLAPPEDWINDOW, 0),
    "dialog": (WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME),
    "toolwindow": (WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW),
    "sizetoolwindow": (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, WS_EX_TOOLWINDOW),
}

IN_FULLSCREEN, ENTER, EXIT, GET_ARGS = 50002, 50003, 50004, 50005
GET_STYLE, SET_STYLE, GET_STATE, SET_STATE, GET_TITLE, SET_TITLE = 60001, 60002, 60003, 60004, 60005, 60006
GET_ZOOM, SET_ZOOM, GET_SIZE, SET_SIZE, GET_BORDER, SET_BORDER = 60007, 60008, 60009, 60010, 60011, 60012


def reply(result):
    return ['{"uuid": "u", "success": true, "result": %s}' % result]


class WindowApp:
    """One packed app with the stand-in as its browser, started with the given arguments."""

    def __init__(self, work, suffix, args=(), env=None, **keys):
        self.id = "com.velmora.e2e.window.%d.%s" % (os.getpid(), suffix)
        self.name = "E2E Window %s" % suffix
        ini = "[App]\nID=%s\nName=%s\nDirName=app\n" % (self.id, self.name)
        ini += "".join("%s=%s\n" % item for item in keys.items())
        with open(ARGS.loader, "rb") as f:
            loader = f.read()
        self.exe = h.pack_app(work, ini, {"WebView2LoaderWin32.dll": loader, "index.html": "<p>window</p>"},
                              name=suffix)
        self.log = BrowserLog(os.path.join(work, "browser-" + suffix))
        self.env = env or {}
        self.proc = start_with_stand_in(self.exe, self.log, *args, env=env)
        try:
            _, navigate = self.log.wait(lambda r: r.get("call") == "Navigate", proc=self.proc)
            self.pid = navigate["pid"]
            if h.wait_window("^%s$" % self.name, proc=self.proc) is None:
                raise AssertionError("the main window did not show")
        except BaseException:
            self.end()
            raise

    def end(self):
        end_app(self.proc, self.id, LOCAL_APP_DATA)

    def call(self, function_id, data=None):
        """Posts the call as the page would; returns (replies, the controller's zoom calls)."""
        message = json.dumps({"id": function_id, "uuid": "u", "data": data or {}}, ensure_ascii=False)
        records = self.log.run(self.pid, "message", json=message)
        zoom = [r.get("zoomFactor") for r in calls(records, "put_ZoomFactor")]
        return [r["webMessageAsJson"] for r in calls(records, "PostWebMessageAsJson")], zoom

    def replies(self, function_id, data=None):
        return self.call(function_id, data)[0]

    def window(self):
        out = subprocess.run(h.command(h.host(ARGS.window_state), self.pid), capture_output=True, timeout=60,
                             env={**os.environ, **self.env})
        if out.returncode != 0:
            raise AssertionError("no main window for process %d" % self.pid)
        return json.loads(out.stdout.decode("utf-8"))

    def windows_exe_path(self):
        return h.host(self.exe).replace("/", "\\")


class WindowOpsTest(unittest.TestCase):
    def setUp(self):
        self.work_ctx = h.Workdir()
        self.work = self.work_ctx.__enter__()

    def tearDown(self):
        self.work_ctx.__exit__(None, None, None)

    def assert_border(self, window, word):
        style, ex = BORDERS[word]
        self.assertEqual((window["style"] & BORDER_STYLES, window["exStyle"] & BORDER_EX_STYLES), (style, ex), word)

    def assert_size_reply(self, app, window):
        b = window["bounds"]
        self.assertEqual(app.replies(GET_SIZE), reply('{"top": %d, "left": %d, "width": %d, "height": %d}'
                                                      % (b["top"], b["left"], b["width"], b["height"])))

    def test_every_operation_read_back_with_win32(self):
        args = ["--alpha", "two words", "third"]
        app = WindowApp(self.work, "main", args)
        try:
            self.run_main(app, args)
        finally:
            app.end()

    def run_main(self, app, args):
        expected_args = "[" + ",".join(json.dumps(a) for a in [app.windows_exe_path(), *args]) + "]"
        self.assertEqual(app.replies(GET_ARGS), reply(expected_args))
        self.assertEqual(app.replies(IN_FULLSCREEN), reply("false"))
        self.assertEqual(app.replies(GET_STYLE), reply('"normal"'))
        self.assertEqual(app.replies(GET_STATE), reply('"normal"'))
        self.assertEqual(app.replies(GET_BORDER), reply('"sizeable"'))
        self.assertEqual(app.replies(GET_TITLE), reply(json.dumps(app.name)))
        w = app.window()
        self.assert_border(w, "sizeable")
        self.assertEqual((w["visible"], w["iconic"], w["zoomed"], w["bounds"]["width"]), (True, False, False, 800))
        self.assert_size_reply(app, w)

        for word in ("none", "single", "dialog", "toolwindow", "sizetoolwindow", "sizeable"):
            with self.subTest(border=word):
                self.assertEqual(app.replies(SET_BORDER, {"border": word}), reply("true"))
                self.assertEqual(app.replies(GET_BORDER), reply(json.dumps(word)))
                self.assert_border(app.window(), word)
        for data in ({"border": "Dialog"}, {"border": ""}):
            self.assertEqual(app.replies(SET_BORDER, data), reply("true"))
        self.assert_border(app.window(), "sizeable")

        # Minimised from normal: under Wine with openbox a window minimised from maximised comes
        # back maximised, whatever the program asks.
        for word, iconic, zoomed in (("maximized", False, True), ("normal", False, False), ("minimized", True, False),
                                     ("normal", False, False)):
            with self.subTest(state=word):
                self.assertEqual(app.replies(SET_STATE, {"state": word}), reply("true"))
                self.assertEqual(app.replies(GET_STATE), reply(json.dumps(word)))
                w = app.window()
                self.assertEqual((w["visible"], w["iconic"], w["zoomed"]), (True, iconic, zoomed))
        self.assertEqual(app.replies(SET_STATE, {"state": ""}), reply("true"))
        self.assertEqual(app.replies(GET_STATE), reply('"normal"'))

        self.assertEqual(app.replies(SET_STYLE, {"style": "ontop"}), reply("true"))
        self.assertEqual(app.replies(GET_STYLE), reply('"ontop"'))
        self.assertTrue(app.window()["exStyle"] & WS_EX_TOPMOST)
        self.assertEqual(app.replies(SET_STYLE, {"style": "ONTOP"}), reply("true"))
        self.assertEqual(app.replies(GET_STYLE), reply('"normal"'))
        self.assertFalse(app.window()["exStyle"] & WS_EX_TOPMOST)

        self.assertEqual(app.replies(SET_TITLE, {"title": 'Fenster über "alles"'}), reply("true"))
        self.assertEqual(app.window()["caption"], 'Fenster über "alles"')
        self.assertEqual(app.replies(GET_TITLE), reply('"Fenster über \\"alles\\""'))
        self.assertEqual(app.replies(SET_TITLE), reply("true"))
        self.assertEqual((app.window()["caption"], app.replies(GET_TITLE)), ("", reply('""')))

        self.assertEqual(app.call(SET_ZOOM, {"factor": 1.5}), (reply("true"), [1.5]))
        self.assertEqual(app.replies(GET_ZOOM), reply('"1.5"'))
        self.assertEqual(app.call(SET_ZOOM, {"factor": "1,5"}), (reply("false"), [1.0]))
        self.assertEqual(app.replies(GET_ZOOM), reply('"1"'))
        # A factor the controller refuses leaves the zoom; it was taken all the same.
        self.assertEqual(app.call(SET_ZOOM, {"factor": "0"}), (reply("true"), [0.0]))
        self.assertEqual(app.replies(GET_ZOOM), reply('"1"'))

        self.assertEqual(app.replies(SET_SIZE, {"left": 100, "top": 80, "width": 700, "height": 500}), reply("true"))
        self.assertEqual(app.window()["bounds"], {"left": 100, "top": 80, "width": 700, "height": 500})
        self.assertEqual(app.replies(GET_SIZE), reply('{"top": 80, "left": 100, "width": 700, "height": 500}'))
        self.assertEqual(app.replies(SET_SIZE, {"width": "640"}), reply("true"))
        self.assertEqual(app.window()["bounds"], {"left": 100, "top": 80, "width": 640, "height": 500})

        self.assertEqual(app.replies(ENTER), [])
        self.assertEqual(app.replies(IN_FULLSCREEN), reply("true"))
        w = app.window()
        self.assert_border(w, "none")
        self.assertEqual((w["zoomed"], w["bounds"]), (True, SCREEN))
        self.assertEqual(app.replies(ENTER), [])
        self.assertEqual(app.window(), w, "a second enter changed the window")
        self.assertEqual(app.replies(SET_BORDER, {"border": "single"}), reply("true"))
        self.assertEqual(app.replies(SET_STATE, {"state": "maximized"}), reply("true"))
        self.assertEqual(app.replies(IN_FULLSCREEN), reply("true"))
        self.assertEqual(app.replies(EXIT), [])
        self.assertEqual(app.replies(IN_FULLSCREEN), reply("false"))
        self.assertEqual(app.replies(GET_BORDER), reply('"sizeable"'))
        w = app.window()
        self.assert_border(w, "sizeable")
        self.assertEqual((w["zoomed"], w["iconic"]), (False, False))
        self.assertEqual(app.replies(EXIT), [])
        self.assertEqual(app.window(), w, "a second exit changed the window")
        self.assert_size_reply(app, w)

    def test_started_in_full_screen_under_a_german_locale(self):
        app = WindowApp(self.work, "full", env={"LC_ALL": "de_DE.UTF-8"}, WindowStyle=1, WindowBorder=0)
        try:
            self.assertEqual(app.replies(IN_FULLSCREEN), reply("true"))
            self.assertEqual(app.replies(GET_ARGS), reply("[%s]" % json.dumps(app.windows_exe_path())))
            w = app.window()
            self.assert_border(w, "none")
            self.assertEqual(w["bounds"], SCREEN)
            # FIXME: under Wine with openbox the caption-less window shown maximised at start-up
            # covers the screen but is not marked zoomed; the page reads what the window says.
            self.assertEqual(app.replies(GET_STATE), reply('"maximized"' if w["zoomed"] else '"normal"'))
            self.assertEqual(app.call(SET_ZOOM, {"factor": "1.5"}), (reply("true"), [1.5]))
            # FIXME: Wine keeps the regional settings of the prefix, so its separator stays "."
            # under a German LC_ALL; the reply carries whatever separator the user's settings have.
            self.assertEqual(app.replies(GET_ZOOM), reply('"1%s5"' % w["decimal"]))
            self.assertEqual(app.call(SET_ZOOM, {"factor": "1,5"}), (reply("false"), [1.0]))
            self.assertEqual(app.replies(EXIT), [])
            self.assertEqual(app.replies(IN_FULLSCREEN), reply("false"))
            w = app.window()
            self.assert_border(w, "none")
            self.assertEqual((w["zoomed"], w["iconic"]), (False, False))
            self.assertEqual(app.replies(GET_STATE), reply('"normal"'))
        finally:
            app.end()


def prepare(args, local_app_data):
    global ARGS, LOCAL_APP_DATA
    ARGS, LOCAL_APP_DATA = args, local_app_data


def main():
    return h.run_wine_tests(("--loader", "--window-state"), prepare)


if __name__ == "__main__":
    sys.exit(main())
