#!/usr/bin/env python3
"""The Windows runtime's start-up end to end: the real windows-x64 runtime under wine64 on an X
display, packed by velmora-pack, driven with xdotool. Covers the error and confirmation boxes
(with what they show, read by the test inspector), the WebView2 provisioning paths with the test
loader and installer stand-ins, the single-instance rule with further windows, the password
prompt and the German message table. A screenshot of every box is kept as an artifact."""
import io
import os
import shutil
import signal
import subprocess
import sys
import time
import unittest
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness as h  # noqa: E402

ARGS = None
VERSION_ENV = "VELMORA_TEST_WEBVIEW2_VERSION"

EN = {
    5: "This is not a valid Windows application.",
    6: "The Microsoft WebView2 runtime is required to run this application. This application cannot "
       "continue and will be closed now.",
    7: "The Microsoft WebView2 runtime is required to run this application. Do you want to install it now?",
    8: "This application cannot continue and will be closed now.",
    9: "You cancel the installation of Microsoft WebView2 runtime, This application cannot continue and "
       "will be closed now.",
}


def run_windows_tool(*args):
    result = subprocess.run(h.command(*args), capture_output=True, timeout=60)
    return result.returncode, result.stdout.decode("utf-8", errors="replace")


def inspect_all(title):
    """[(window class, [(control class, text)])] of every visible window with this exact title."""
    code, out = run_windows_tool(h.host(ARGS.inspector), title)
    windows = []
    if code != 0:
        return windows
    for line in out.splitlines():
        kind, cls, text = (line.split("\t") + ["", ""])[:3]
        if kind == "window":
            windows.append((cls, []))
        elif windows:
            windows[-1][1].append((cls.lower(), text))
    return windows


def inspect(title):
    """(window class, [(control class, text)]) of the first visible window with this title."""
    windows = inspect_all(title)
    return windows[0] if windows else (None, [])


def texts(controls, cls):
    return [text for c, text in controls if c == cls]


def press(wid, *keys):
    """Keys typed as the user would (XTEST into the focused window): Wine does not take key
    events sent to a window that a window manager has framed."""
    h.xdotool("windowactivate", "--sync", wid)
    h.xdotool("key", "--clearmodifiers", "--delay", "50", *keys)


def type_into(wid, text):
    h.xdotool("windowactivate", "--sync", wid)
    h.xdotool("type", "--clearmodifiers", "--delay", "30", text)


def count_windows(title_regex):
    return len(h.find_windows(title_regex))


def window_pid(wid):
    out = h.xdotool("getwindowpid", wid)
    return int(out) if out.isdigit() else None


class StartupTest(unittest.TestCase):
    """One packed app per test with its own identifier; every process is ended afterwards."""

    def setUp(self):
        self.work_ctx = h.Workdir()
        self.work = self.work_ctx.__enter__()
        self.procs = []
        self.extra_pids = []
        self.app_id = "com.velmora.e2e.%d.%s" % (os.getpid(), self._testMethodName)
        self.user_data = os.path.join(LOCAL_APP_DATA, self.app_id)

    def tearDown(self):
        for proc in self.procs:
            h.stop(proc)
        for pid in self.extra_pids:
            try:
                os.kill(pid, signal.SIGKILL)
            except OSError:
                pass
        subprocess.run(["rm", "-rf", self.user_data])
        self.work_ctx.__exit__(None, None, None)

    # --- helpers ------------------------------------------------------------------------------

    def ini(self, **keys):
        base = {"ID": self.app_id, "Name": "E2E " + self._testMethodName, "DirName": "app"}
        base.update(keys)
        return "[App]\n" + "".join("%s=%s\n" % (k, v) for k, v in base.items() if v is not None)

    def pack(self, files=None, **keys):
        files = {"app/index.html": "<!doctype html><title>t</title>", **(files or {})}
        return h.pack_app(self.work, self.ini(**keys), files)

    def start(self, exe, *args, env=None):
        proc = h.start(exe, *args, env=env)
        self.procs.append(proc)
        return proc

    def loader_bytes(self):
        with open(ARGS.loader, "rb") as f:
            return f.read()

    def installer_bytes(self):
        with open(ARGS.installer, "rb") as f:
            return f.read()

    def expect_box(self, title, message, buttons, proc, label):
        wid = h.wait_window("^%s$" % title, timeout=30, proc=proc)
        self.assertIsNotNone(wid, "no %r box appeared" % title)
        h.screenshot(wid, label)
        window_class, controls = inspect(title)
        self.assertEqual(window_class, "Velmora.MessageDialog")
        self.assertEqual(texts(controls, "static"), [message])
        self.assertEqual(texts(controls, "button"), buttons)
        return wid

    def answer(self, wid, key):
        press(wid, key)
        deadline = time.monotonic() + 15
        while wid in h.find_windows(".*") and time.monotonic() < deadline:
            time.sleep(0.1)

    def main_window(self, proc=None, timeout=30):
        return h.wait_window("^E2E %s$" % self._testMethodName, timeout=timeout, proc=proc)

    def end_with_test(self, wid):
        """The process behind a window that the runtime started itself ends with the test too."""
        pid = window_pid(wid)
        if pid:
            self.extra_pids.append(pid)

    # --- no payload, no name ------------------------------------------------------------------

    def test_no_payload_shows_message_5_and_creates_nothing(self):
        before = sorted(os.listdir(LOCAL_APP_DATA))
        proc = self.start(h.bare_runtime(self.work))
        wid = self.expect_box("Error", EN[5], ["Accept"], proc, "win32_no_payload_error")
        self.answer(wid, "Escape")
        self.assertEqual(h.wait_exit(proc), 0)
        self.assertEqual(sorted(os.listdir(LOCAL_APP_DATA)), before)

    def test_german_locale_reads_the_german_row(self):
        proc = self.start(h.bare_runtime(self.work), env={"LC_ALL": "de_DE.UTF-8", "LANG": "de_DE.UTF-8"})
        wid = self.expect_box("Error", "Dies ist keine gültige Windows-Anwendung.", ["Akzeptieren"], proc,
                              "win32_no_payload_error_de")
        self.answer(wid, "Return")
        self.assertEqual(h.wait_exit(proc), 0)

    def test_settings_without_name_end_silently(self):
        # velmora-pack refuses such settings, so the payload is written here, unencrypted (the
        # reader decrypts only entries that are marked encrypted).
        archive = io.BytesIO()
        with zipfile.ZipFile(archive, "w") as z:
            z.writestr("qmt.ini", self.ini(Name=None))
            z.writestr("app/index.html", "<!doctype html>")
        exe = os.path.join(self.work, "noname.exe")
        shutil.copy(ARGS.runtime, exe)
        with open(exe, "ab") as f:
            f.write(archive.getvalue())
        proc = self.start(exe)
        self.assertEqual(h.wait_exit(proc), 0)
        self.assertFalse(os.path.exists(self.user_data))

    # --- WebView2 missing ---------------------------------------------------------------------

    def test_runtime_missing_without_installation_shows_message_6_and_keeps_the_folder(self):
        proc = self.start(self.pack(EdgeInstaller=0), env={VERSION_ENV: "120.0"})
        wid = self.expect_box("Error", EN[6], ["Accept"], proc, "win32_webview2_missing_error")
        self.answer(wid, "Escape")
        self.assertEqual(h.wait_exit(proc), 0)
        # The loader entry was missing: an empty file stands in for it.
        loader = os.path.join(self.user_data, "Win32", "WebView2LoaderWin32.dll")
        self.assertTrue(os.path.isfile(loader))
        self.assertEqual(os.path.getsize(loader), 0)

    def test_installation_declined_removes_the_folder_then_message_8(self):
        proc = self.start(self.pack(), env={VERSION_ENV: "120.0"})
        wid = self.expect_box("Confirm", EN[7], ["Accept", "Cancel"], proc, "win32_install_offer")
        self.assertTrue(os.path.isdir(self.user_data))
        self.answer(wid, "Escape")
        wid = self.expect_box("Error", EN[8], ["Accept"], proc, "win32_install_declined")
        self.assertFalse(os.path.exists(self.user_data), "the user data folder is still there")
        self.answer(wid, "Escape")
        self.assertEqual(h.wait_exit(proc), 0)

    def test_installation_that_installs_starts_the_application_afresh(self):
        log = os.path.join(self.work, "installer.log")
        env = {VERSION_ENV: "120.0", "VELMORA_TEST_LOADER_SOURCE": h.host(ARGS.loader),
               "VELMORA_TEST_INSTALLER_LOG": h.host(log), "VELMORA_TEST_INSTALLER_DELAY_MS": "2500"}
        # No loader in the payload: the empty stand-in does not load, so the runtime is missing
        # until the installer puts the reporting loader in its place.
        exe = self.pack({"WebView2Installer.exe": self.installer_bytes()},
                        InstallIndicatorColor=0, InstallIndicatorType=2, InstallFormColor="0x00F0F0F0")
        proc = self.start(exe, env=env)
        wid = self.expect_box("Confirm", EN[7], ["Accept", "Cancel"], proc, "win32_install_offer_accept")
        self.answer(wid, "Return")

        installer_window = self.wait_installer_window(proc)
        self.assertIsNotNone(installer_window, "the installation window did not show")
        h.screenshot(installer_window, "win32_installer_window")

        main = self.main_window(timeout=60)
        self.assertIsNotNone(main, "the application did not start again")
        self.end_with_test(main)
        h.screenshot(main, "win32_main_window_after_install")
        self.assertEqual(h.wait_exit(proc), 0)
        time.sleep(0.5)
        self.assertIn(main, h.find_windows("^E2E %s$" % self._testMethodName),
                      "the window went with the first process")
        self.assertFalse(os.path.exists(os.path.join(self.user_data, "WebView2Installer.exe")))
        with open(log, "rb") as f:
            self.assertTrue(f.read().rstrip().endswith(b"/silent /install"))
        self.assertEqual(count_windows("^Error$"), 0)

    def test_installation_that_does_nothing_shows_message_9_and_removes_the_folder(self):
        exe = self.pack({"WebView2Installer.exe": self.installer_bytes()})
        proc = self.start(exe, env={VERSION_ENV: "120.0"})
        wid = self.expect_box("Confirm", EN[7], ["Accept", "Cancel"], proc, "win32_install_offer_nothing")
        self.answer(wid, "Return")
        wid = self.expect_box("Error", EN[9], ["Accept"], proc, "win32_install_failed")
        self.assertFalse(os.path.exists(self.user_data))
        self.answer(wid, "Return")
        self.assertEqual(h.wait_exit(proc), 0)

    def wait_installer_window(self, proc, timeout=20):
        """The 80 x 80 popup among the runtime's X windows (it has no title)."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline and proc.poll() is None:
            for wid in h.xdotool("search", "--onlyvisible", "--classname", ".*").split():
                geometry = h.xdotool("getwindowgeometry", wid)
                if "Geometry: 80x80" in geometry and h.window_name(wid) == "":
                    return wid
            time.sleep(0.1)
        return None

    # --- single instance ----------------------------------------------------------------------

    def running_app(self, **keys):
        exe = self.pack({"WebView2LoaderWin32.dll": self.loader_bytes()}, **keys)
        env = {VERSION_ENV: "120.0"}
        first = self.start(exe, env=env)
        self.assertIsNotNone(self.main_window(first), "the first instance did not open its window")
        return exe, env

    def test_second_start_ends_silently_further_windows_pass(self):
        exe, env = self.running_app()
        title = "^E2E %s$" % self._testMethodName
        second = self.start(exe, env=env)
        self.assertEqual(h.wait_exit(second), 0)
        self.assertEqual(count_windows(title), 1)
        # Three arguments: no password asked, but the lock ends it.
        third = self.start(exe, self.app_id, "file:///page2.html", "extra", env=env)
        self.assertEqual(h.wait_exit(third), 0)
        self.assertEqual(count_windows(title), 1)
        # The identifier in other letter case is an ordinary start.
        upper = self.start(exe, self.app_id.upper(), "file:///page2.html", env=env)
        self.assertEqual(h.wait_exit(upper), 0)
        # (identifier, URL) is a further window.
        further = self.start(exe, self.app_id, "file:///page2.html", env=env)
        deadline = time.monotonic() + 30
        while count_windows(title) < 2 and time.monotonic() < deadline and further.poll() is None:
            time.sleep(0.1)
        self.assertEqual(count_windows(title), 2)

    def test_allow_instances_never_locks(self):
        exe, env = self.running_app(AllowInstances=1)
        self.start(exe, env=env)
        deadline = time.monotonic() + 30
        while count_windows("^E2E %s$" % self._testMethodName) < 2 and time.monotonic() < deadline:
            time.sleep(0.1)
        self.assertEqual(count_windows("^E2E %s$" % self._testMethodName), 2)

    # --- password prompt ----------------------------------------------------------------------

    def test_password_prompt_admits_the_exact_text_only(self):
        exe = self.pack({"WebView2LoaderWin32.dll": self.loader_bytes()}, Password="Open Sesame")
        env = {VERSION_ENV: "120.0"}
        name = "E2E " + self._testMethodName
        proc = self.start(exe, env=env)
        prompt = h.wait_window("^%s$" % name, timeout=30, proc=proc)
        self.assertIsNotNone(prompt, "no password prompt")
        window_class, _ = inspect(name)
        self.assertEqual(window_class, "Velmora.RequirePasswordForm")
        # Other letter case, then the password behind a surplus character: the prompt stays. (The
        # box's text cannot be read from another process: it is a password box.)
        for wrong in ("open sesame", "XOpen Sesame"):
            press(prompt, *(["BackSpace"] * 12))
            type_into(prompt, wrong)
            time.sleep(0.5)
            self.assertIn(prompt, h.find_windows("^%s$" % name), "%r closed the prompt" % wrong)
        h.screenshot(prompt, "win32_password_prompt")
        press(prompt, "Home", "Delete")  # the release of Delete leaves exactly the password
        deadline = time.monotonic() + 15
        while prompt in h.find_windows("^%s$" % name) and time.monotonic() < deadline:
            time.sleep(0.1)
        self.assertNotIn(prompt, h.find_windows("^%s$" % name), "the right password did not close the prompt")
        main = self.main_window(proc)
        self.assertIsNotNone(main, "the right password did not admit")
        self.assertEqual(inspect(name)[0], "Velmora.MainWindow")
        # A further window is never asked.
        further = self.start(exe, self.app_id, "file:///page2.html", env=env)
        deadline = time.monotonic() + 30
        while count_windows("^%s$" % name) < 2 and time.monotonic() < deadline and further.poll() is None:
            time.sleep(0.1)
        self.assertEqual([cls for cls, _ in inspect_all(name)], ["Velmora.MainWindow"] * 2)

    def test_closing_the_password_prompt_ends_without_a_message(self):
        exe = self.pack({"WebView2LoaderWin32.dll": self.loader_bytes()}, Password="pw")
        name = "E2E " + self._testMethodName
        proc = self.start(exe, env={VERSION_ENV: "120.0"})
        prompt = h.wait_window("^%s$" % name, timeout=30, proc=proc)
        self.assertIsNotNone(prompt, "no password prompt")
        press(prompt, "Escape", "Return")  # neither answers the prompt
        time.sleep(0.5)
        self.assertIn(prompt, h.find_windows("^%s$" % name))
        press(prompt, "alt+F4")
        self.assertEqual(h.wait_exit(proc), 0)
        self.assertEqual(count_windows("^Error$"), 0)


def prepare(args, local_app_data):
    global ARGS, LOCAL_APP_DATA
    ARGS, LOCAL_APP_DATA = args, local_app_data


def main():
    return h.run_wine_tests(("--loader", "--installer", "--inspector"), prepare)


LOCAL_APP_DATA = ""

if __name__ == "__main__":
    sys.exit(main())
