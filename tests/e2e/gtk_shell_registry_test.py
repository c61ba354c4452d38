#!/usr/bin/env python3
"""The shell, system and registry operations of the Linux runtime end to end: a packed app whose
page runs a table of bridge calls (cases.json beside the executable, written by the test) and
reports every outcome as its caption. Real programs for shell.command and shell.execute, X
windows made by the test for shell.windows, and stand-ins for logind and the file manager
(python3-dbusmock) on a private D-Bus that serves as both system and session bus. The registry
table runs against the per-user store, then a second app reads it after the first has ended."""
import json
import os
import re
import sqlite3
import subprocess
import sys
import time
import unittest
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from gtk_startup_test import Display, wait_for, windows  # noqa: E402
from shell_registry_cases import READ, check_outcomes, registry_table  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
APP = os.path.join(HERE, "shell_registry_app")
X_WINDOWS = os.path.join(HERE, os.pardir, "support", "x_windows.py")
EXECUTE, EXPLORE, COMMAND, WINDOWS = 70001, 70002, 70003, 70004
LOGOFF, REBOOT, SHUTDOWN = 11001, 11002, 11003
LOGIND = ("org.freedesktop.login1", "/org/freedesktop/login1")
FILE_MANAGER = ("org.freedesktop.FileManager1", "/org/freedesktop/FileManager1")


def dbusmock_python():
    """A Python that has python3-dbusmock (the system's, when the test runs under another)."""
    for python in (sys.executable, "/usr/bin/python3"):
        if subprocess.run([python, "-c", "import dbusmock"], capture_output=True).returncode == 0:
            return python
    return None


class PrivateBus:
    """A bus of our own with the stand-ins on it; logs what they were asked."""

    def __init__(self, folder):
        self.folder = folder
        self.procs = []

    def __enter__(self):
        bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.procs.append(bus)
        self.address = bus.stdout.readline().strip()
        env = {**os.environ, "DBUS_SYSTEM_BUS_ADDRESS": self.address, "DBUS_SESSION_BUS_ADDRESS": self.address}
        python = dbusmock_python()
        self.logs = {}
        for name, args in (("logind", ["-t", "logind", "--system"]),
                           ("filemanager", ["--session", *FILE_MANAGER, FILE_MANAGER[0]])):
            self.logs[name] = os.path.join(self.folder, name + ".log")
            self.procs.append(subprocess.Popen([python, "-m", "dbusmock", "-l", self.logs[name], *args], env=env,
                                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        for service, path in (LOGIND, FILE_MANAGER):
            wait_for(lambda: self.gdbus(service, path, "org.freedesktop.DBus.Peer.Ping").returncode == 0, 20)
        return self

    def gdbus(self, service, path, method, *args):
        return subprocess.run(["gdbus", "call", "--address", self.address, "--dest", service, "--object-path", path,
                               "--method", method, *args], capture_output=True, text=True)

    def add_method(self, service_path, interface, name, in_sig, code):
        result = self.gdbus(*service_path, "org.freedesktop.DBus.Mock.AddMethod", interface, name, in_sig, "", code)
        assert result.returncode == 0, result.stderr

    def calls(self, name):
        """The method calls the stand-in logged: (method, argument text) in order."""
        with open(self.logs[name]) as f:
            return [tuple((line.split(" ", 2)[1:] + [""])[:2]) for line in f.read().splitlines() if " " in line]

    def __exit__(self, *exc):
        for proc in reversed(self.procs):
            proc.terminate()
            proc.wait(timeout=10)
        self.procs[0].stdout.close()


@unittest.skipIf(dbusmock_python() is None, "python3-dbusmock is not installed")
class ShellRegistryTest(unittest.TestCase):
    def setUp(self):
        Display.current.ensure_window_manager()
        self.workdir = harness.Workdir()
        self.dir = self.workdir.__enter__()
        self.env = harness.gtk_app_env(self.dir, LC_ALL="C.UTF-8")
        self.data = self.env["XDG_DATA_HOME"]
        self.procs = []

    def tearDown(self):
        for proc in self.procs:
            harness.stop(proc)
            for pipe in (proc.stdin, proc.stdout, proc.stderr):
                if pipe:
                    pipe.close()
        self.workdir.__exit__(None, None, None)

    def run_page(self, app_id, cases, env=None):
        """Packs and starts an app whose page runs cases; the outcomes, once it reported."""
        with open(os.path.join(APP, "index.html")) as f:
            page = f.read()
        ini = "[App]\nID=%s\nName=%s\nDirName=app\nDynamicAppTitle=1\n" % (app_id, app_id)
        exe = harness.pack_app(self.dir, ini, {"index.html": page}, name=app_id)
        with open(os.path.join(self.dir, "cases.json"), "w", encoding="utf-8") as f:
            json.dump([{"id": function, "data": data} for function, data, *_ in cases], f)
        proc = harness.start(exe, env={**self.env, **(env or {})})
        self.procs.append(proc)
        parts = {}

        def reported():
            for wid in windows(proc):
                match = re.match(r"(RESULT (\d+)/(\d+) |FAILED )(.*)", harness.window_name(wid))
                if match and match.group(1) == "FAILED ":
                    parts["failed"] = match.group(4)
                    return True
                if match:
                    parts[int(match.group(2))] = match.group(4)
                    parts["count"] = int(match.group(3))
            return len(parts) - 1 == parts.get("count") or proc.poll() is not None

        wait_for(reported, 120)
        harness.stop(proc)
        self.assertNotIn("failed", parts, parts.get("failed"))
        self.assertEqual(len(parts) - 1, parts.get("count"), "the page never reported; stderr:\n%s"
                         % self.stderr_tail(proc))
        text = "".join(parts[i] for i in range(parts["count"]))
        return json.loads(urllib.parse.unquote(text))

    def test_registry_table_then_another_app_reads_it_after_a_restart(self):
        table = registry_table()
        check_outcomes(self, table, self.run_page("org.velmora.e2e.registry.one", table))
        database = os.path.join(self.data, "velmora", "registry.db")
        # Values of other types, as another program would store them.
        with sqlite3.connect(database) as db:
            (typed,) = db.execute("SELECT id FROM keys WHERE name = 'Types'").fetchone()
            db.execute("INSERT INTO key_values VALUES (?, 'dword', 4, x'2a000000'), (?, 'none', 3, x'')", (typed, typed))
        db.close()
        later = [
            (READ, {"key": "velmoraE2E\\software\\DEMO", "name": "Greeting"}, ("ok", "hello")),
            (READ, {"key": "VelmoraE2E\\Types", "name": "text"}, ("ok", "Grüße \"q\" \\ 😀\r\n")),
            (READ, {"key": "VelmoraE2E\\Types", "name": "DWORD"}, ("none",)),
            (READ, {"key": "VelmoraE2E\\Types", "name": "none"}, ("ok", "")),
        ]
        check_outcomes(self, later, self.run_page("org.velmora.e2e.registry.two", later))

    def test_shell_and_system_operations(self):
        marker = os.path.join(self.dir, "started by execute")
        shown = os.path.join(self.dir, "shown file.txt")
        utf8_edge = "printf '%254s' '' | tr ' ' a; printf 'é\\n'; printf '%4094s' '' | tr ' ' b; printf '😀'"
        cases = [
            (COMMAND, {"command": "echo hi"}, ("ok", "hi\n")),
            (COMMAND, {"command": "printf '%s\\n' '\"quoted\" back\\slash'"}, ("ok", "\"quoted\" back\\slash\n")),
            (COMMAND, {"command": utf8_edge}, ("ok", "a" * 254 + "é\n" + "b" * 4094 + "😀")),
            (COMMAND, {"command": "echo out; echo err >&2; echo out2"}, ("ok", "out\nerr\nout2\n")),
            (COMMAND, {"command": "printf 'a\\000b'"}, ("ok", "a\0b")),
            (COMMAND, {"command": "(sleep 1; echo late) & echo early"}, ("ok", "early\nlate\n")),
            (COMMAND, {"command": "velmora-no-such-command"}, ("ok", "/bin/sh: 1: velmora-no-such-command: not found\n")),
            (COMMAND, {"command": "pwd", "workingDir": self.dir, "showWindow": True}, ("ok", self.dir + "\n")),
            (COMMAND, {"command": "echo never", "workingDir": "/no/such/velmora/folder"}, ("ok", "")),
            (COMMAND, {"workingDir": "/"}, ("fail", "Missing command")),
            (EXECUTE, {"filePath": "/no/such/velmora/file"}, ("fail", "No such file or directory")),
            (EXECUTE, {"arguments": "x"}, ("fail", "Missing filePath")),
            (EXECUTE, {"filePath": "sh", "arguments": "-c 'echo ran > \"%s\"'" % marker}, ("ok", True)),
            (EXPLORE, {"filePath": shown}, ("ok", True)),
            (EXPLORE, {"filePath": ""}, ("fail", "Missing filePath")),
            (WINDOWS, {}, None),
            (LOGOFF, {}, ("ok", True)),
            (REBOOT, {}, ("fail", "Permission denied")),
            (SHUTDOWN, {}, ("ok", True)),
        ]
        names = ["map:Velmora Probe First", "hidden:Velmora Probe Hidden", "map:   ", "map:Velmora Probe Dup",
                 "map:Velmora Probe Dup", "map:  Velmora Probe \"Lead\" \\", "map:Velmora Probe Second"]
        with PrivateBus(self.dir) as bus:
            bus.add_method(LOGIND, "org.freedesktop.login1.Manager", "Reboot", "b",
                           "raise dbus.exceptions.DBusException('Reboot is not allowed', "
                           "name='org.freedesktop.DBus.Error.AccessDenied')")
            bus.add_method(FILE_MANAGER, FILE_MANAGER[0], "ShowItems", "ass", "")
            probe = subprocess.Popen([sys.executable, X_WINDOWS, *names], stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, text=True)
            self.procs.append(probe)
            self.assertEqual(probe.stdout.readline().strip(), "ready")
            outcomes = self.run_page("org.velmora.e2e.shell", cases, env={
                "DBUS_SYSTEM_BUS_ADDRESS": bus.address, "DBUS_SESSION_BUS_ADDRESS": bus.address,
                "XDG_SESSION_ID": "c7"})
            logind, file_manager = bus.calls("logind"), bus.calls("filemanager")

        windows_at = [i for i, case in enumerate(cases) if case[0] == WINDOWS][0]
        captions = outcomes[windows_at]
        check_outcomes(self, cases[:windows_at] + cases[windows_at + 1:],
                       outcomes[:windows_at] + outcomes[windows_at + 1:])
        with open(marker) as f:
            self.assertEqual(f.read(), "ran\n")

        # Every caption not blank, untrimmed; hidden windows and duplicates kept; topmost first.
        self.assertTrue(captions["ok"], captions)
        probes = [c for c in captions["result"] if "Velmora Probe" in c]
        print("\nprobe captions, topmost first: %r" % probes)
        self.assertEqual(sorted(probes), sorted(name.split(":", 1)[1] for name in names if name != "map:   "))
        # Mapped later, stacked higher.
        self.assertEqual([c for c in probes if c != "Velmora Probe Hidden"],
                         ["Velmora Probe Second", "  Velmora Probe \"Lead\" \\", "Velmora Probe Dup", "Velmora Probe Dup",
                          "Velmora Probe First"])
        self.assertTrue(all(c.strip() for c in captions["result"]), captions["result"])
        self.assertIn("org.velmora.e2e.shell", captions["result"])

        # The session of XDG_SESSION_ID ended, nobody asked (interactive false); the refusal's text.
        self.assertEqual([call for call in logind if call[0] in ("TerminateSession", "Reboot", "PowerOff")],
                         [("TerminateSession", '"c7"'), ("Reboot", "False"),
                          ("Reboot", "raised: org.freedesktop.DBus.Error.AccessDenied: Reboot is not allowed"),
                          ("PowerOff", "False")])
        self.assertEqual(len(file_manager), 1, file_manager)
        self.assertIn("file://" + shown.replace(" ", "%20"), file_manager[0][1])

    stderr_tail = staticmethod(harness.stderr_tail)


def main():
    with Display():
        sys.exit(harness.run_tests())


if __name__ == "__main__":
    main()
