#!/usr/bin/env python3
"""Start-up of the real Linux runtime under X, driven with xdotool as a user would: the error box
of a runtime without payload, silent ends, the single-instance rule with its further-window
exception, and the password prompt. Screenshots go to the artifacts folder.

Keys are sent through the XTEST extension to the focused window (GTK 3 reads input through
XInput 2 and ignores events sent to a window with XSendEvent); openbox provides focus and the
close box (Alt+F4) when no window manager runs yet."""
import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "support"))
import harness  # noqa: E402
from with_window_manager import forget_window_manager, window_manager_running  # noqa: E402
import malformed_payloads as broken  # noqa: E402

APP_ID = "org.velmora.e2e.startup"


class Display:
    """$DISPLAY, or a private Xvfb; openbox when no window manager runs. Stops what it started."""

    current = None  # the display of this test run, for tests that check on its window manager

    def __init__(self):
        self.started = []

    def __enter__(self):
        if not os.environ.get("DISPLAY"):
            read, write = os.pipe()
            xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                                     "-nolisten", "tcp"], pass_fds=(write,), stderr=subprocess.DEVNULL)
            os.close(write)
            with os.fdopen(read) as f:
                os.environ["DISPLAY"] = ":" + f.readline().strip()
            self.started.append(xvfb)
        Display.current = self
        self.ensure_window_manager()
        return self

    def ensure_window_manager(self):
        """Starts openbox when no window manager runs (also when one has ended during the run:
        close requests by Alt+F4 would go nowhere)."""
        if window_manager_running():
            return
        forget_window_manager()
        self.started.append(subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                                             stderr=subprocess.DEVNULL))
        deadline = time.monotonic() + 10
        while not window_manager_running() and time.monotonic() < deadline:
            time.sleep(0.1)

    def __exit__(self, *exc):
        Display.current = None
        for proc in reversed(self.started):
            proc.terminate()
            proc.wait(timeout=10)
        # An ended manager leaves its check window's name behind.
        if len(self.started) > 0 and "DISPLAY" in os.environ:
            forget_window_manager()


def windows(proc, name_regex="."):
    """Visible windows of the process whose title matches."""
    out = harness.xdotool("search", "--all", "--onlyvisible", "--pid", proc.pid, "--name", name_regex)
    return [w for w in out.split() if w]


def wait_for(condition, timeout=30.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.1)
    return condition()


def size(wid):
    out = harness.xdotool("getwindowgeometry", wid)
    for line in out.splitlines():
        if "Geometry:" in line:
            w, h = line.split(":")[1].strip().split("x")
            return int(w), int(h)
    return 0, 0


def main_windows(proc, name):
    """The process's main windows (the password prompt has the same title but is small)."""
    return [w for w in windows(proc, "^%s$" % name) if size(w)[0] >= 700]


def focus(wid):
    harness.xdotool("windowactivate", "--sync", wid)
    wait_for(lambda: harness.xdotool("getwindowfocus") == str(wid), 5)


def keys(wid, *names):
    focus(wid)
    harness.xdotool("key", "--delay", "40", *names)


def type_text(wid, text):
    focus(wid)
    harness.xdotool("type", "--delay", "40", text)


class StartupTest(unittest.TestCase):
    def setUp(self):
        self.workdir = harness.Workdir()
        self.dir = self.workdir.__enter__()
        self.env = harness.gtk_app_env(self.dir)
        self.data, self.run_dir = self.env["XDG_DATA_HOME"], self.env["XDG_RUNTIME_DIR"]
        self.procs = []

    def tearDown(self):
        for proc in self.procs:
            harness.stop(proc)
            proc.stdout.close()
            proc.stderr.close()
        self.workdir.__exit__(None, None, None)

    def start(self, exe, *args):
        proc = harness.start(exe, *args, env=self.env)
        self.procs.append(proc)
        return proc

    def pack(self, ini, name="app"):
        return harness.pack_app(self.dir, ini, {"app/index.html": "<!doctype html><title>e2e</title>"}, name)

    def pack_unchecked(self, ini):
        """The runtime followed by an archive that velmora-pack would refuse to build."""
        src = os.path.join(self.dir, "raw")
        harness.write_tree(src, {"qmt.ini": ini})
        archive = os.path.join(self.dir, "raw.zip")
        subprocess.run(["zip", "-q", "-j", "-P", harness.PASSWORD.decode(), archive, os.path.join(src, "qmt.ini")],
                       check=True)
        exe = os.path.join(self.dir, "raw-app")
        with open(exe, "wb") as out:
            for part in (harness.Tools.runtime, archive):
                with open(part, "rb") as f:
                    out.write(f.read())
        os.chmod(exe, 0o755)
        return exe

    def assert_ends_cleanly(self, proc, timeout=30):
        code = harness.wait_exit(proc, timeout)
        err = proc.stderr.read().decode(errors="replace") if code is not None else ""
        self.assertEqual(code, 0, "exit code %r\n%s" % (code, err[-3000:]))

    def assert_silent_end(self, proc):
        """Ends with exit code 0 and never shows a window."""
        seen = set()
        deadline = time.monotonic() + 30
        while proc.poll() is None and time.monotonic() < deadline:
            seen.update(windows(proc))
            time.sleep(0.05)
        self.assertEqual(seen, set(), "a window was shown")
        self.assert_ends_cleanly(proc, 5)

    def test_runtime_without_payload_shows_the_error_box_and_creates_nothing(self):
        proc = self.start(harness.bare_runtime(self.dir))
        box = wait_for(lambda: windows(proc, "^Error$"))
        self.assertTrue(box, "no error box")
        harness.screenshot(box[0], "gtk_no_payload_error_box")
        w, h = size(box[0])
        self.assertTrue(150 < w < 700 and 60 < h < 400, "odd box size %dx%d" % (w, h))
        keys(box[0], "Escape")
        self.assert_ends_cleanly(proc)
        self.assertEqual(os.listdir(self.data), [])

    def test_settings_without_name_end_silently_before_any_folder(self):
        exe = self.pack_unchecked("[App]\nID=%s\nDirName=app\n" % APP_ID)
        self.assert_silent_end(self.start(exe))
        self.assertEqual(os.listdir(self.data), [])

    def test_ids_that_name_no_folder_of_their_own_end_silently_and_touch_nothing(self):
        # The user data folder is below $XDG_DATA_HOME: ".." would name the data home's parent.
        marker = os.path.join(self.data, "keep.txt")
        with open(marker, "w") as f:
            f.write("the user's own file\n")
        for app_id in (".", "..", "  ", "a/../..", "x\\y", "app."):
            with self.subTest(id=app_id):
                exe = self.pack_unchecked("[App]\nID=%s\nName=Id Test\nDirName=app\n" % app_id)
                self.assert_silent_end(self.start(exe))
                self.assertEqual(os.listdir(self.data), ["keep.txt"])

    def test_malformed_payloads_end_start_up_cleanly(self):
        ini = "[App]\nID=%s\nName=Broken Test\nDirName=app\n" % APP_ID
        good = open(self.pack(ini), "rb").read()
        runtime = open(harness.Tools.runtime, "rb").read()
        payload = good[len(runtime):]
        # What each start does: "box" the error box of an error start-up does not handle (the
        # payload is no archive), "silent" no window at all (no readable settings), "window" the
        # main window (the broken entries are not among those start-up reads).
        cases = {
            "truncated archive": (broken.truncated(payload), "box"),
            "end record pointing outside the file": (broken.end_record_outside(payload), "box"),
            # Stored data read past its real end fails its CRC; what came first is the settings.
            "entry sizes larger than the file": (broken.sizes_forged(payload), "window"),
            "wrong password": (broken.info_zip_archive(self.dir, ini, b"another-password"), "silent"),
            "duplicate names": (broken.plain_archive([("qmt.ini", ini), ("qmt.ini", "[App]\nID=x\n"),
                                                      ("app/index.html", "<title>dup</title>")]), "window"),
            "names with .., / and \\": (broken.plain_archive([("../evil", "e"), ("/abs", "a"), ("\\back", "b"),
                                                             ("qmt.ini", ini)]), "window"),
            "deflate bomb": (broken.bomb_archive(ini), "window"),
        }
        for number, (label, (archive, outcome)) in enumerate(cases.items()):
            with self.subTest(payload=label):
                exe = os.path.join(self.dir, "broken-app-%d" % number)
                with open(exe, "wb") as f:
                    f.write(runtime + archive)
                os.chmod(exe, 0o755)
                proc = self.start(exe)
                try:
                    self.assert_start_up_outcome(proc, outcome)
                finally:
                    harness.stop(proc)  # one at a time: the single-instance lock would end the next

    def assert_start_up_outcome(self, proc, outcome):
        """silent: no window, exit 0; box: the error box, exit 1 once it is answered; window: the
        main window shows."""
        if outcome == "silent":
            self.assert_silent_end(proc)
        elif outcome == "box":
            box = wait_for(lambda: windows(proc, "^Error$"))
            self.assertTrue(box, "no error box")
            # Answered again until it goes: a loaded machine may drop a key before the box has
            # the focus.
            deadline = time.monotonic() + 30
            while proc.poll() is None and time.monotonic() < deadline:
                for wid in windows(proc, "^Error$"):
                    keys(wid, "Escape")
                harness.wait_exit(proc, 2)
            code = proc.poll()
            self.assertIsNotNone(code, "the error box did not go")
            err = proc.stderr.read().decode(errors="replace")
            self.assertEqual(code, 1, err[-2000:])  # an unhandled error ends with code 1
            self.assertNotIn("Sanitizer", err)
        else:
            self.assertTrue(wait_for(lambda: main_windows(proc, "Broken Test")), "no main window")
            self.assertIsNone(proc.poll())

    def test_single_instance_and_further_windows(self):
        exe = self.pack("[App]\nID=%s\nName=Single Test\nDirName=app\n" % APP_ID)
        first = self.start(exe)
        window = wait_for(lambda: main_windows(first, "Single Test"))
        self.assertTrue(window, "the main window never appeared")
        harness.screenshot(window[0], "gtk_main_window")
        self.assertTrue(os.path.isdir(os.path.join(self.data, APP_ID, "Win32")))

        self.assert_silent_end(self.start(exe))                       # a second ordinary start
        self.assert_silent_end(self.start(exe, APP_ID, "qmt:///a.html", "extra"))  # three arguments
        self.assert_silent_end(self.start(exe, APP_ID.upper(), "qmt:///a.html"))   # other letter case

        further = self.start(exe, APP_ID, "qmt:///page2.html")
        self.assertTrue(wait_for(lambda: main_windows(further, "Single Test")), "the further window is refused")

        # Once the first instance has gone, an ordinary start is the only one again.
        harness.stop(first)
        harness.stop(further)
        again = self.start(exe)
        self.assertTrue(wait_for(lambda: main_windows(again, "Single Test")))

    def test_allow_instances_never_locks(self):
        exe = self.pack("[App]\nID=%s\nName=Many Test\nDirName=app\nAllowInstances=1\n" % APP_ID)
        one, two = self.start(exe), self.start(exe)
        self.assertTrue(wait_for(lambda: main_windows(one, "Many Test")))
        self.assertTrue(wait_for(lambda: main_windows(two, "Many Test")))
        self.assertEqual([f for f in os.listdir(self.run_dir) if f.endswith(".lock")], [])

    def test_password_prompt_admits_only_the_exact_text(self):
        exe = self.pack("[App]\nID=%s\nName=Secret Test\nDirName=app\nPassword=  Open Sesame  \n" % APP_ID)
        proc = self.start(exe)
        prompt = wait_for(lambda: windows(proc, "^Secret Test$"))
        self.assertTrue(prompt, "no password prompt")
        self.assertLess(size(prompt[0])[0], 500)
        type_text(prompt[0], "open sesame")
        keys(prompt[0], "Return", "Escape")
        harness.screenshot(prompt[0], "gtk_password_prompt")
        time.sleep(1.0)
        self.assertIsNone(proc.poll(), "the prompt ended the process")
        self.assertEqual(main_windows(proc, "Secret Test"), [])
        self.assertEqual(windows(proc, "^Secret Test$"), prompt, "the prompt closed")

        keys(prompt[0], "ctrl+a")
        type_text(prompt[0], "Open Sesame")  # the settings value without its blanks
        window = wait_for(lambda: main_windows(proc, "Secret Test"))
        self.assertTrue(window, "the exact password did not admit")

        # A further window is never asked.
        further = self.start(exe, APP_ID, "qmt:///next.html")
        self.assertTrue(wait_for(lambda: main_windows(further, "Secret Test")))

    def test_closing_the_password_prompt_ends_without_a_message(self):
        exe = self.pack("[App]\nID=%s\nName=Closed Test\nDirName=app\nPassword=pw\n" % APP_ID)
        proc = self.start(exe)
        prompt = wait_for(lambda: windows(proc, "^Closed Test$"))
        self.assertTrue(prompt, "no password prompt")
        seen = set()
        deadline = time.monotonic() + 30
        next_close = 0.0
        while proc.poll() is None and time.monotonic() < deadline:
            # A loaded machine may map the prompt before the window manager focuses it: the
            # close request is repeated until it lands (a second one is harmless).
            if time.monotonic() >= next_close and proc.poll() is None:
                keys(prompt[0], "alt+F4")
                next_close = time.monotonic() + 3
            seen.update(w for w in windows(proc) if w not in prompt)
            time.sleep(0.05)
        self.assertEqual(seen, set(), "another window was shown")
        self.assert_ends_cleanly(proc, 5)


def main():
    with Display():
        sys.exit(harness.run_tests())


if __name__ == "__main__":
    main()
