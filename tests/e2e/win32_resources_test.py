#!/usr/bin/env python3
"""Escaped file names on Windows: the real windows-x64 runtime under wine64 with the recording
browser stand-in (tests/support/loader). Requests the way a browser writes non-ASCII and
reserved characters (UTF-8 percent-escapes) are answered from the payload, and from beside the
executable, once the name as written is found nowhere; the specified lookups keep winning."""
import base64
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
from win32_browser_test import BrowserLog, end_app, event, start_with_stand_in  # noqa: E402

ARGS = None
LOCAL_APP_DATA = ""
PNG = b"\x89PNG\r\n\x1a\n accented"


class EscapedNamesTest(unittest.TestCase):
    def test_decoded_names_are_found_after_the_specified_lookup(self):
        with h.Workdir() as work:
            app_id = "com.velmora.e2e.resources.%d" % os.getpid()
            name = "E2E Resources"
            with open(ARGS.loader, "rb") as f:
                loader = f.read()
            exe = h.pack_app(work, "[App]\nID=%s\nName=%s\nDirName=app\n" % (app_id, name), {
                "WebView2LoaderWin32.dll": loader,
                "index.html": "<!doctype html>",
                "café.png": PNG,
                "a b+c&d.txt": "mixed",
                "a%2Bb.html": "as written",
                "a+b.html": "decoded",
            })
            h.write_tree(work, {"données/été.json": '{"beside": true}'})
            log = BrowserLog(os.path.join(work, "browser"))
            proc = start_with_stand_in(exe, log)
            try:
                _, first = log.wait(lambda r: r.get("call") == "Navigate", proc=proc)
                pid = first["pid"]
                cases = [
                    ("file:///caf%C3%A9.png", PNG, None),
                    ("file:///CAF%C3%A9.PNG?v=2", PNG, None),
                    ("file:///a%20b%2Bc%26d.txt", b"mixed", "text/plain"),
                    ("file:///a%2Bb.html", b"as written", "text/html"),  # the specified lookup first
                    ("file:///donn%C3%A9es/%C3%A9t%C3%A9.json", b'{"beside": true}', None),
                    ("file:///caf%C3.png", None, None),
                    ("file:///missing%C3%A9.png", None, None),
                ]
                for uri, body, mime in cases:
                    with self.subTest(uri=uri):
                        answer = event(log.run(pid, "request", uri=uri), "WebResourceRequested")
                        if body is None:
                            self.assertIsNone(answer["response"])
                            continue
                        response = answer["response"]
                        self.assertEqual((response["status"], response["reason"]), (200, "OK"))
                        self.assertTrue(response["headers"].startswith("Content-Type: "), response["headers"])
                        self.assertTrue(response["headers"].endswith("; charset=utf-8"), response["headers"])
                        # Image types come from Wine's registry; the text types are fixed.
                        if mime is not None:
                            self.assertEqual(response["headers"], "Content-Type: %s; charset=utf-8" % mime)
                        self.assertEqual(base64.b64decode(response["body"]), body)
            finally:
                end_app(proc, app_id, LOCAL_APP_DATA)


def prepare(args, local_app_data):
    global ARGS, LOCAL_APP_DATA
    ARGS, LOCAL_APP_DATA = args, local_app_data


def main():
    return h.run_wine_tests(("--loader",), prepare)


if __name__ == "__main__":
    sys.exit(main())
