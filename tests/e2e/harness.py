"""Shared helpers of the end-to-end tests: pack an app, start the real runtime (natively or
under wine64), find its windows on the X display and drive them as a user would."""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

PASSWORD = b"t7fqw2hbz5mx8cgpl1vr6ynd0ska3je9xuqa"


class Tools:
    """Where the built programs are; filled from the command line of each test script."""
    pack = ""          # velmora-pack (native or .exe)
    runtime = ""       # VelmoraRuntime (native or .exe)
    emulator = ""      # wine-run.sh for Windows builds, "" natively
    path_prefix = ""   # "Z:" for Windows builds (host files through Wine's Z: drive)
    artifacts = ""     # folder for screenshots kept after the run


def add_arguments(parser):
    parser.add_argument("--pack", required=True)
    parser.add_argument("--runtime", required=True)
    parser.add_argument("--emulator", default="")
    parser.add_argument("--path-prefix", default="")
    parser.add_argument("--artifacts", default="")


def run_tests(extra_arguments=(), prepare=None):
    """The test script's entry: parses the harness's arguments and extra_arguments (each one
    required), configures the harness, calls prepare(args) (which may return an error text that
    ends the run), then runs the __main__ module's tests. Returns the exit code."""
    parser = argparse.ArgumentParser()
    add_arguments(parser)
    for name in extra_arguments:
        parser.add_argument(name, required=True)
    args, rest = parser.parse_known_args()
    configure(args)
    if prepare is not None:
        error = prepare(args)
        if error:
            print(error, file=sys.stderr)
            return 1
    program = unittest.main(argv=[sys.argv[0]] + rest, exit=False, verbosity=2)
    return 0 if program.result.wasSuccessful() else 1


def run_wine_tests(extra_arguments, ready):
    """run_tests for a script that drives Windows programs under Wine: first finds the prefix's
    local application-data folder (where the runtime keeps an app's data) and hands it with the
    arguments to ready(args, local_app_data); a prefix without one ends the run."""
    def prepare(args):
        local_app_data = wine_local_app_data()
        if not os.path.isdir(local_app_data):
            return "no local application-data folder: %r" % local_app_data
        ready(args, local_app_data)
        return None
    return run_tests(extra_arguments, prepare)


def wine_local_app_data():
    """Wine's local application-data folder of this prefix, as a host path."""
    out = subprocess.run(command("cmd", "/c", "echo %LOCALAPPDATA%"), capture_output=True, timeout=60)
    windows_path = out.stdout.decode(errors="replace").strip()
    out = subprocess.run(command("winepath", "-u", windows_path), capture_output=True, timeout=60)
    return out.stdout.decode(errors="replace").strip()


def configure(args):
    Tools.pack, Tools.runtime = args.pack, args.runtime
    Tools.emulator, Tools.path_prefix = args.emulator, args.path_prefix
    Tools.artifacts = args.artifacts
    if Tools.artifacts:
        os.makedirs(Tools.artifacts, exist_ok=True)


def host(path):
    return Tools.path_prefix + str(path)


def command(program, *args):
    return ([Tools.emulator] if Tools.emulator else []) + [program] + [str(a) for a in args]


def write_tree(root, files):
    for name, data in files.items():
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data if isinstance(data, bytes) else data.encode())


def pack_app(workdir, ini, files=None, name="app"):
    """Packs an app folder (qmt.ini text plus files) into an executable and returns its path."""
    app = os.path.join(workdir, name + "-src")
    write_tree(app, {"qmt.ini": ini, **(files or {})})
    out = os.path.join(workdir, name + os.path.splitext(Tools.runtime)[1])
    result = subprocess.run(command(Tools.pack, "build", host(app), "-o", host(out),
                                    "--runtime", host(Tools.runtime)), capture_output=True)
    if result.returncode != 0:
        raise RuntimeError("velmora-pack failed: " + result.stderr.decode(errors="replace"))
    return out


def bare_runtime(workdir):
    """A copy of the runtime without payload."""
    out = os.path.join(workdir, "bare" + os.path.splitext(Tools.runtime)[1])
    shutil.copy(Tools.runtime, out)
    return out


def start(exe, *args, env=None):
    return subprocess.Popen(command(host(exe) if Tools.emulator else exe, *args),
                            env={**os.environ, **(env or {})},
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE)


def xdotool(*args):
    result = subprocess.run(["xdotool", *[str(a) for a in args]], capture_output=True, text=True)
    return result.stdout.strip()


def find_windows(name_regex, pid=None):
    """Visible windows whose title matches (xdotool's --name)."""
    args = ["search", "--onlyvisible", "--name", name_regex]
    return [w for w in xdotool(*args).split() if w]


def wait_window(name_regex, timeout=30.0, proc=None):
    """The first visible window matching name_regex; None after timeout or when proc ended."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = find_windows(name_regex)
        if found:
            return found[0]
        if proc is not None and proc.poll() is not None:
            return None
        time.sleep(0.1)
    return None


def window_name(wid):
    return xdotool("getwindowname", wid)


# Keys go to the focused window: GTK ignores synthetic events sent to a window with --window.
def key(wid, *keys):
    xdotool("windowactivate", "--sync", wid)
    xdotool("key", "--clearmodifiers", *keys)


def type_text(wid, text):
    xdotool("windowactivate", "--sync", wid)
    xdotool("type", "--delay", "30", text)


def screenshot(wid, label):
    """Keeps a picture of the window in the artifacts folder; returns its path (or None)."""
    if not Tools.artifacts:
        return None
    path = os.path.join(Tools.artifacts, re.sub(r"[^A-Za-z0-9_.-]+", "_", label) + ".png")
    subprocess.run(["import", "-window", str(wid), path], capture_output=True, timeout=30)
    return path


LSAN_SUPPRESSIONS = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "lsan.supp")


def gtk_app_env(folder, **extra):
    """The environment of a GTK runtime under test: its own data folder (folder/data) and runtime
    folder (folder/run, private as the lock needs), no accessibility bus, and the desktop
    libraries' own end-of-process leaks suppressed; extra adds or replaces variables."""
    data, run_dir = os.path.join(folder, "data"), os.path.join(folder, "run")
    os.makedirs(data, exist_ok=True)
    os.makedirs(run_dir, mode=0o700, exist_ok=True)
    env = {"XDG_DATA_HOME": data, "XDG_RUNTIME_DIR": run_dir, "NO_AT_BRIDGE": "1",
           "LSAN_OPTIONS": os.environ.get("LSAN_OPTIONS", "suppressions=" + LSAN_SUPPRESSIONS)}
    env.update(extra)
    return env


def stderr_tail(proc):
    """The end of what an ended process wrote to its standard error, for a failure message."""
    if proc.poll() is None:
        return "(still running)"
    return proc.stderr.read().decode(errors="replace")[-3000:]


def wait_exit(proc, timeout=30.0):
    try:
        return proc.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        return None


def stop(proc):
    if proc.poll() is None:
        proc.kill()
        proc.wait(timeout=10)


class Workdir:
    """A scratch folder removed at the end (kept when VELMORA_KEEP_WORKDIR is set)."""

    def __enter__(self):
        self.path = tempfile.mkdtemp(prefix="velmora-e2e-")
        return self.path

    def __exit__(self, *exc):
        if not os.environ.get("VELMORA_KEEP_WORKDIR"):
            shutil.rmtree(self.path, ignore_errors=True)
