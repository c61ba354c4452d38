#!/usr/bin/env python3
"""The shell and registry operations of the Windows runtime end to end: the real windows-x64
runtime under wine64 with the recording browser stand-in (tests/support/loader), which posts
each bridge message as the page would and logs the host's replies. The registry table of
shell_registry_cases.py runs against Wine's registry, checked from outside with `wine reg`;
command output and the window list come from Wine's own processes and windows."""
import json
import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402
import win32_browser_test as browser  # noqa: E402
from shell_registry_cases import READ, ROOT, check_outcomes, registry_table  # noqa: E402

EXECUTE, COMMAND, WINDOWS = 70001, 70003, 70004


def reg(*args):
    """`wine reg …`: (exit code, output)."""
    result = subprocess.run(h.command("reg", *args), capture_output=True, timeout=60)
    return result.returncode, result.stdout.decode(errors="replace")


class ShellRegistryTest(unittest.TestCase):
    """One running app for every case."""

    @classmethod
    def setUpClass(cls):
        reg("delete", "HKCU\\" + ROOT, "/f")
        cls.work_ctx = h.Workdir()
        cls.work = cls.work_ctx.__enter__()
        try:
            cls.app = browser.App(cls.work, "shellreg")
        except BaseException:
            cls.work_ctx.__exit__(None, None, None)
            raise

    @classmethod
    def tearDownClass(cls):
        cls.app.end()
        cls.work_ctx.__exit__(None, None, None)
        reg("delete", "HKCU\\" + ROOT, "/f")

    def call(self, function, data):
        """The outcome as the page would see it: {ok, result}, or {none: True} without a reply."""
        replies = self.app.message(json.dumps({"id": function, "uuid": "u%d" % function, "data": data}))
        self.assertLessEqual(len(replies), 1)
        if not replies:
            return {"none": True}
        reply = json.loads(replies[0])
        return {"ok": reply["success"], "result": reply["result"]}

    def run_table(self, table):
        check_outcomes(self, table, [self.call(function, data) for function, data, _ in table])

    def test_a_registry_table_against_wines_registry(self):
        self.run_table(registry_table())
        # What the host wrote, seen from outside: REG_SZ text below HKEY_CURRENT_USER.
        code, out = reg("query", "HKCU\\%s\\Software\\Demo" % ROOT, "/v", "Greeting")
        self.assertEqual(code, 0, out)
        self.assertRegex(out, r"Greeting\s+REG_SZ\s+hello")
        code, out = reg("query", "HKCU\\%s\\HKEY_LOCAL_MACHINE\\Software\\Demo" % ROOT, "/v", "v")
        self.assertRegex(out, r"v\s+REG_SZ\s+hkcu")
        code, out = reg("query", "HKCU\\%s\\Types" % ROOT, "/v", "number")
        self.assertRegex(out, r"number\s+REG_SZ\s+42")
        self.assertNotEqual(reg("query", "HKCU\\%s\\Tree" % ROOT)[0], 0, "the deleted tree is still there")

    def test_b_values_of_other_types_and_a_tree_made_outside(self):
        key = "HKCU\\%s\\Outside" % ROOT
        for name, kind, data in (("dword", "REG_DWORD", "42"), ("expand", "REG_EXPAND_SZ", "%PATH%;x"),
                                 ("binary", "REG_BINARY", "0102"), ("nothing", "REG_BINARY", "")):
            self.assertEqual(reg("add", key, "/v", name, "/t", kind, "/d", data, "/f")[0], 0)
        for sub in ("a\\b\\c", "a\\d", "e"):
            self.assertEqual(reg("add", key + "\\Tree\\" + sub, "/v", "v", "/d", "x", "/f")[0], 0)
        path = ROOT + "\\Outside"
        self.run_table([
            (READ, {"key": path, "name": "dword"}, ("none",)),
            (READ, {"key": path, "name": "binary"}, ("none",)),
            (READ, {"key": path, "name": "nothing"}, ("ok", "")),
            (READ, {"key": path, "name": "expand"}, ("ok", "%PATH%;x")),
            (13006, {"key": path + "\\Tree"}, ("ok", True)),
            (13005, {"key": path + "\\Tree\\a"}, ("ok", False)),
        ])
        self.assertNotEqual(reg("query", key + "\\Tree")[0], 0, "the nested tree is still there")

    def test_c_command_lines_through_cmd(self):
        self.run_table([
            (COMMAND, {"command": "echo hi"}, ("ok", "hi\r\n")),
            (COMMAND, {"command": "echo \"quoted\" back\\slash"}, ("ok", "\"quoted\" back\\slash\r\n")),
            (COMMAND, {"command": "echo out & echo err 1>&2 & echo out2"}, ("ok", "out \r\nerr  \r\nout2\r\n")),
            (COMMAND, {"command": "cd", "workingDir": "C:\\windows"}, ("ok", "C:\\windows\r\n")),
            (COMMAND, {"command": "echo never", "workingDir": "C:\\no\\such\\velmora"}, ("ok", "")),
            (COMMAND, {"showWindow": "true"}, ("fail", "Missing command")),
            # Wine's text for ERROR_FILE_NOT_FOUND, then for ERROR_PATH_NOT_FOUND.
            (EXECUTE, {"filePath": "C:\\windows\\velmora-missing.exe"}, ("fail", "File not found")),
            (EXECUTE, {"filePath": "C:\\no\\such\\velmora.exe"}, ("fail", "Path not found")),
        ])
        # A program started through the shell with its arguments; it runs on its own.
        marker = os.path.join(self.work, "started by execute.txt")
        self.run_table([(EXECUTE, {"filePath": "cmd.exe", "arguments": "/c echo ran> \"%s\"" % h.host(marker)},
                         ("ok", True))])
        deadline = time.monotonic() + 30
        while not os.path.exists(marker) and time.monotonic() < deadline:
            time.sleep(0.1)
        self.assertTrue(os.path.exists(marker), "the started program never ran")
        missing = self.call(COMMAND, {"command": "velmora-no-such-command"})
        self.assertTrue(missing["ok"], missing)
        self.assertIn("velmora-no-such-command", missing["result"])

    def test_d_window_captions(self):
        got = self.call(WINDOWS, {})
        self.assertTrue(got["ok"], got)
        print("\nWine's top-level captions: %r" % got["result"])
        self.assertIn(self.app.name, got["result"])
        self.assertTrue(all(caption.strip(" \t\r\n") for caption in got["result"]), got["result"])


if __name__ == "__main__":
    sys.exit(h.run_wine_tests(("--loader",), browser.prepare))
