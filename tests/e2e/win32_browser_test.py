#!/usr/bin/env python3
"""The Windows runtime's browser host end to end: the real windows-x64 runtime under wine64 on an
X display, with the browser replaced by the recording stand-in loader (tests/support/loader). The
stand-in logs every call the host makes (calls.jsonl in the test folder) and raises the events
this test writes to its command file; the test reads what the host answered from the log.

Covers the host's set-up calls in order (start-up script byte for byte, settings, filter, start
page), resource answers from the payload, beside the executable and from an absolute path,
bridge replies and the messages that get none, new-window requests starting a further instance,
permissions, the document title with DynamicAppTitle on and off, and the close handshake."""
import base64
import json
import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402

ARGS = None
LOCAL_APP_DATA = ""
SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

INDEX_HTML = "<!doctype html><title>Start</title><p>Hello from the payload</p>"
APP_JS = "console.log('app');\n"
SPACED_HTML = "<!doctype html><p>spaced</p>"
# The app's own start-up script: non-ASCII text, a character outside the BMP and CR LF line ends
# must reach the browser unchanged.
WEBVIEW_JS = "window.appStarted = 'Grüße \U0001F600';\r\nconsole.log(\"qmt-webviewjs\");\r\n"
BESIDE_HTML = "<!doctype html><p>beside the executable</p>"
ABSOLUTE_CSS = "body { color: #123456; }\n"

DRAG_OVER = 'window.addEventListener("dragover", function(e){e.preventDefault();},false);'
DROP = 'window.addEventListener("drop", function(e){e.preventDefault();}, false);'

HELLO, IS_RUNTIME, APP_CLOSE = 10001, 10002, 50001


def expected_startup_script():
    with open(os.path.join(SOURCE_DIR, "resources", "qmt-external.js"), "rb") as f:
        bridge = f.read()
    if bridge.startswith(b"\xef\xbb\xbf"):
        bridge = bridge[3:]
    return "".join("\r" + piece for piece in (bridge.decode("utf-8"), DRAG_OVER, DROP, WEBVIEW_JS))



class BrowserLog:
    """The stand-in's call log and command files in one test folder."""

    def __init__(self, folder):
        self.folder = folder
        os.makedirs(folder, exist_ok=True)
        self.path = os.path.join(folder, "calls.jsonl")
        self.seq = {}

    def records(self):
        """Every complete line written so far."""
        try:
            with open(self.path, "rb") as f:
                data = f.read()
        except FileNotFoundError:
            return []
        lines = data.split(b"\n")[:-1]  # the last piece is empty or still being written
        return [json.loads(line) for line in lines]

    def wait(self, predicate, start=0, timeout=30.0, proc=None):
        """(index, record) of the first record from index start on that satisfies predicate."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            for index, record in enumerate(self.records()[start:], start):
                if predicate(record):
                    return index, record
            if proc is not None and proc.poll() is not None:
                break
            time.sleep(0.05)
        raise AssertionError("the browser log never showed the awaited record")

    def run(self, pid, op, **fields):
        """Sends one command to process pid; returns that process's records written while it ran,
        up to its "done" record."""
        start = len(self.records())
        self.seq[pid] = self.seq.get(pid, 0) + 1
        seq = self.seq[pid]
        with open(os.path.join(self.folder, "commands-%d.jsonl" % pid), "a", encoding="utf-8") as f:
            f.write(json.dumps({"op": op, **fields}) + "\n")
        end, _ = self.wait(lambda r: r.get("pid") == pid and r.get("event") == "done" and r.get("seq") == seq, start)
        return [r for r in self.records()[start:end] if r.get("pid") == pid]


def start_with_stand_in(exe, log, *args, env=None):
    """Starts a packed app whose loader is the stand-in, recording into log's folder."""
    return h.start(exe, *args, env={"VELMORA_TEST_WEBVIEW2_VERSION": "120.0.2210.91",
                                    "VELMORA_TEST_BROWSER_DIR": h.host(log.folder), **(env or {})})


def end_app(proc, app_id, local_app_data):
    """Ends the app and removes the data folder its start made (the extracted loader)."""
    h.stop(proc)
    for pipe in (proc.stdout, proc.stderr):
        pipe.close()
    subprocess.run(["rm", "-rf", os.path.join(local_app_data, app_id)])


def calls(records, name=None, on=None):
    return [r for r in records if "call" in r and (name is None or r["call"] == name) and (on is None or r["on"] == on)]


def event(records, name):
    found = [r for r in records if r.get("event") == name]
    assert len(found) == 1, "expected one %s event, got %r" % (name, found)
    return found[0]


class App:
    """One packed app with the stand-in as its loader, started once; the id is unique per run so
    that the loader library is extracted afresh."""

    def __init__(self, work, suffix, extra_env=None, **keys):
        self.id = "com.velmora.e2e.browser.%d.%s" % (os.getpid(), suffix)
        self.name = "E2E Browser %s" % suffix
        ini = "[App]\nID=%s\nName=%s\nDirName=app\n" % (self.id, self.name)
        ini += "".join("%s=%s\n" % item for item in keys.items())
        with open(ARGS.loader, "rb") as f:
            loader = f.read()
        self.exe = h.pack_app(work, ini, {
            "WebView2LoaderWin32.dll": loader,
            "qmt-webviewjs": WEBVIEW_JS.encode("utf-8"),
            "index.html": INDEX_HTML,
            "js/app.js": APP_JS,
            "my page.html": SPACED_HTML,
        }, name=suffix)
        self.log = BrowserLog(os.path.join(work, "browser-" + suffix))
        self.proc = start_with_stand_in(self.exe, self.log, env=extra_env)
        try:
            _, first = self.log.wait(lambda r: r.get("call") in ("Navigate", "CreateCoreWebView2Environment")
                                     or r.get("event") == "load", proc=self.proc)
            self.pid = first["pid"]
            if not (extra_env or {}).get("VELMORA_TEST_CREATION_FAILS"):
                self.log.wait(lambda r: r.get("call") == "Navigate", proc=self.proc)
            self.window = h.wait_window("^%s$" % self.name, proc=self.proc)
            if self.window is None:
                raise AssertionError("the main window did not show")
        except BaseException:
            self.end()
            raise

    def end(self):
        end_app(self.proc, self.id, LOCAL_APP_DATA)

    def message(self, value, **fields):
        """Posts value (already JSON text) as the page would (source: another sending document);
        returns the host's JSON replies."""
        records = self.log.run(self.pid, "message", json=value, **fields)
        return [r["webMessageAsJson"] for r in calls(records, "PostWebMessageAsJson")]


class BrowserHostTest(unittest.TestCase):
    """One running app (DynamicAppTitle on) for every case; the close handshake ends it last."""

    @classmethod
    def setUpClass(cls):
        cls.work_ctx = h.Workdir()
        cls.work = cls.work_ctx.__enter__()
        h.write_tree(cls.work, {"extra/beside.html": BESIDE_HTML, "abs/style.css": ABSOLUTE_CSS})
        try:
            cls.app = App(cls.work, "main", DynamicAppTitle=1)
        except BaseException:
            cls.work_ctx.__exit__(None, None, None)
            raise
        cls.log = cls.app.log

    @classmethod
    def tearDownClass(cls):
        cls.app.end()
        cls.work_ctx.__exit__(None, None, None)

    def test_a_setup_calls_in_order(self):
        records = [r for r in self.log.records() if r.get("pid") == self.app.pid]
        self.assertEqual([r["call"] for r in calls(records, on="loader") if r["call"].startswith("Create")],
                         ["CreateCoreWebView2Environment"])
        self.assertTrue(calls(records, "CreateCoreWebView2Controller", "environment"))
        setup = [r for r in calls(records)
                 if r["on"] == "settings" and r["call"].startswith("put_")
                 or r["call"] in ("AddScriptToExecuteOnDocumentCreated", "AddWebResourceRequestedFilter", "Navigate")]
        summary = [(r["call"], r.get("value", r.get("uri"))) for r in setup]
        self.assertEqual(summary, [
            ("AddScriptToExecuteOnDocumentCreated", None),
            ("put_IsScriptEnabled", 1),
            ("put_IsStatusBarEnabled", 0),
            ("put_IsWebMessageEnabled", 1),
            ("put_IsBuiltInErrorPageEnabled", 1),
            ("put_IsZoomControlEnabled", 0),
            ("put_AreDevToolsEnabled", 0),
            ("put_AreDefaultContextMenusEnabled", 0),
            ("AddWebResourceRequestedFilter", "*"),
            ("Navigate", "file:///index.html"),
        ])
        self.assertEqual(setup[0]["javaScript"], expected_startup_script())
        self.assertEqual(setup[8]["resourceContext"], 0)
        subscribed = {r["call"] for r in calls(records) if r["call"].startswith("add_") and "token" in r}
        for name in ("WebResourceRequested", "WebMessageReceived", "NewWindowRequested", "PermissionRequested",
                     "NavigationCompleted", "DocumentTitleChanged"):
            self.assertIn("add_" + name, subscribed)
        self.assertFalse([r for r in records if r.get("notImplemented")], "the host called unimplemented slots")

    def test_b_resource_answers(self):
        absolute = h.host(os.path.join(self.work, "abs", "style.css"))
        cases = [
            # (uri, body or None for no answer, MIME type)
            ("file:///index.html", INDEX_HTML, "text/html"),
            ("file:///js/app.js?v=3", APP_JS, "application/javascript"),
            ("file:///my%20page.html", SPACED_HTML, "text/html"),
            ("file:///extra/beside.html", BESIDE_HTML, "text/html"),
            ("file:///" + absolute, ABSOLUTE_CSS, "text/css"),
            ("FILE:///index.html", None, None),
            ("file:///missing.html", None, None),
            ("https://example.com/index.html", None, None),
        ]
        for uri, body, mime in cases:
            with self.subTest(uri=uri):
                records = self.log.run(self.app.pid, "request", uri=uri)
                answer = event(records, "WebResourceRequested")
                self.assertGreaterEqual(answer["handlers"], 1)
                if body is None:
                    self.assertIsNone(answer["response"])
                    continue
                response = answer["response"]
                self.assertEqual((response["status"], response["reason"], response["headers"]),
                                 (200, "OK", "Content-Type: %s; charset=utf-8" % mime))
                self.assertEqual(base64.b64decode(response["body"]), body.encode())
        self.log.run(self.app.pid, "navigationCompleted", success=True)

    def test_c_bridge_replies(self):
        uuid = "0f8fad5b-d9cb-469f-a165-70867728950e"
        hello = json.dumps({"id": HELLO, "uuid": uuid, "data": {}})
        self.assertEqual(self.app.message(hello), ['{"uuid": "%s", "success": true, "result": "2023.3"}' % uuid])
        # An id given as a string of digits counts as that number.
        as_text = json.dumps({"id": str(HELLO), "uuid": uuid, "data": {}})
        self.assertEqual(self.app.message(as_text), ['{"uuid": "%s", "success": true, "result": "2023.3"}' % uuid])
        runtime = json.dumps({"id": IS_RUNTIME, "uuid": uuid, "data": {}})
        self.assertEqual(self.app.message(runtime), ['{"uuid": "%s", "success": true, "result": true}' % uuid])

        silent = [
            ("text that is not JSON", "{id: 10001"),
            ("a plain string", json.dumps("qmt-webbrowser-clicked")),
            ("no data", json.dumps({"id": HELLO, "uuid": uuid})),
            ("no uuid", json.dumps({"id": HELLO, "data": {}})),
            ("an id outside the table", json.dumps({"id": 99999, "uuid": uuid, "data": {}})),
            ("a word as id", json.dumps({"id": "hello", "uuid": uuid, "data": {}})),
            ("a fraction as id", json.dumps({"id": 10001.5, "uuid": uuid, "data": {}})),
        ]
        for label, message in silent:
            with self.subTest(label):
                self.assertEqual(self.app.message(message), [])

    def test_c_only_app_documents_reach_the_bridge(self):
        hello = json.dumps({"id": HELLO, "uuid": "u", "data": {}})
        close = json.dumps({"id": APP_CLOSE, "uuid": "u", "data": {}})
        for source in ("https://example.com/", "about:blank", "data:text/html,x", ""):
            with self.subTest(source=source):
                self.assertEqual(self.app.message(hello, source=source), [])
                self.assertEqual(self.app.message(close, source=source), [])  # and the app stays open
        # The top-level document itself went to a web page: neither its messages nor replies.
        self.log.run(self.app.pid, "navigate", uri="https://example.com/")
        self.assertEqual(self.app.message(hello), [])
        self.assertEqual(self.app.message(hello, source="file:///index.html"), [], "no reply reaches a web page")
        self.log.run(self.app.pid, "navigate", uri="file:///index.html")
        self.assertEqual(self.app.message(hello), ['{"uuid": "u", "success": true, "result": "2023.3"}'])
        self.assertIsNone(self.app.proc.poll())

    def test_d_permissions_only_for_app_documents(self):
        for kind in (1, 2, 3):  # microphone, camera, position
            with self.subTest(kind=kind):
                records = self.log.run(self.app.pid, "permission", uri="file:///index.html", kind=kind)
                self.assertEqual(event(records, "PermissionRequested")["state"], 1)
                records = self.log.run(self.app.pid, "permission", uri="https://example.com/", kind=kind)
                self.assertEqual(event(records, "PermissionRequested")["state"], 2)

    def test_e_new_window_for_an_app_page_starts_a_further_instance(self):
        records = self.log.run(self.app.pid, "newWindow", uri="https://example.com/")
        self.assertFalse(event(records, "NewWindowRequested")["handled"], "a web address is left to the browser")

        start = len(self.log.records())
        records = self.log.run(self.app.pid, "newWindow", uri="file:///page2.html")
        self.assertTrue(event(records, "NewWindowRequested")["handled"])
        _, load = self.log.wait(lambda r: r.get("event") == "load" and r["pid"] != self.app.pid, start)
        self.assertTrue(load["commandLine"].endswith(' "%s" "file:///page2.html"' % self.app.id), load["commandLine"])
        _, navigate = self.log.wait(lambda r: r.get("call") == "Navigate" and r["pid"] == load["pid"], start)
        self.assertEqual(navigate["uri"], "file:///page2.html")
        # The further window ends through its own handshake; the first one is unchanged.
        self.log.run(navigate["pid"], "closeWindow")
        self.log.wait(lambda r: r.get("call") == "ExecuteScript" and r["pid"] == navigate["pid"], start)
        self.log.run(navigate["pid"], "message", json=json.dumps({"id": APP_CLOSE, "uuid": "u", "data": {}}))
        self.log.wait(lambda r: r.get("call") == "Close" and r["on"] == "controller" and r["pid"] == navigate["pid"], start)
        self.assertIsNone(self.app.proc.poll())

    def test_f_title_change_renames_the_window(self):
        self.log.run(self.app.pid, "title", title="Renamed \"by\" the page")
        self.assertIsNotNone(h.wait_window('^Renamed "by" the page$', timeout=10))
        self.assertEqual(h.window_name(self.app.window), 'Renamed "by" the page')
        h.screenshot(self.app.window, "win32_browser_main_window")

    def test_z_close_handshake(self):
        start = len(self.log.records())
        self.log.run(self.app.pid, "closeWindow")
        _, script = self.log.wait(lambda r: r.get("call") == "ExecuteScript" and r["pid"] == self.app.pid, start)
        self.assertEqual(script["javaScript"], "qmt.events.onCloseQuery();")
        self.assertIsNone(self.app.proc.poll(), "the first close request closed the window")
        self.assertIn(self.app.window, h.find_windows(".*"))
        self.app.message(json.dumps({"id": APP_CLOSE, "uuid": "c1", "data": {}}))
        self.assertEqual(h.wait_exit(self.app.proc), 0)
        # The web view was closed on the way out, and nothing reached it afterwards.
        records = [r for r in self.log.records() if r.get("pid") == self.app.pid]
        self.assertEqual((calls(records)[-1]["on"], calls(records)[-1]["call"]), ("controller", "Close"))
        self.assertFalse([r for r in records if r.get("afterClose") or r.get("notImplemented")])


class StaticTitleTest(unittest.TestCase):
    def test_title_change_keeps_the_caption_without_dynamic_title(self):
        with h.Workdir() as work:
            app = App(work, "static", DynamicAppTitle=0)
            try:
                app.log.run(app.pid, "title", title="Not the caption")
                # Nothing to await for a rename that must not happen: the handler has run (the
                # command is done); a short grace lets a wrong rename reach the display.
                time.sleep(0.5)
                self.assertEqual(h.window_name(app.window), app.name)
                self.assertEqual(h.find_windows("^Not the caption$"), [])
            finally:
                app.end()


class NoWebViewTest(unittest.TestCase):
    def test_a_window_without_a_web_view_closes_on_request(self):
        with h.Workdir() as work:
            app = App(work, "noview", extra_env={"VELMORA_TEST_CREATION_FAILS": "1"})
            try:
                h.key(app.window, "alt+F4")
                code = h.wait_exit(app.proc, 15)
                self.assertEqual(code, 0, "the window did not close without a web view")
                self.assertFalse(calls(app.log.records(), "Navigate"), "a web view was created after all")
            finally:
                app.end()


class BridgeOriginsTest(unittest.TestCase):
    def test_a_listed_origin_reaches_the_bridge(self):
        hello = json.dumps({"id": HELLO, "uuid": "u", "data": {}})
        reply = '{"uuid": "u", "success": true, "result": "2023.3"}'
        with h.Workdir() as work:
            app = App(work, "origins", BridgeOrigins="https://example.com")
            try:
                app.log.run(app.pid, "navigate", uri="https://example.com/start.html")
                self.assertEqual(app.message(hello), [reply])
                self.assertEqual(app.message(hello, source="https://evil.example.com/"), [])
                app.log.run(app.pid, "navigate", uri="https://evil.example.com/")
                self.assertEqual(app.message(hello, source="https://example.com/"), [], "no reply to an unlisted page")
            finally:
                app.end()


def prepare(args, local_app_data):
    global ARGS, LOCAL_APP_DATA
    ARGS, LOCAL_APP_DATA = args, local_app_data


def main():
    return h.run_wine_tests(("--loader",), prepare)


if __name__ == "__main__":
    sys.exit(main())
