#!/usr/bin/env python3
"""Runs a command on the X display in $DISPLAY with a window manager: when none runs, openbox is
started for the command's duration. Wine's windows need one to be activated, maximised and
stacked as on Windows, and without one every window's destruction waits two seconds for a
withdrawal that never comes."""
import os
import re
import subprocess
import sys
import time


def window_manager_running():
    """A window manager names its check window on the root window; a manager that has ended may
    leave the name behind, so the window itself must still exist."""
    result = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], capture_output=True, text=True)
    match = re.search(r"window id # (0x[0-9a-fA-F]+)", result.stdout)
    if result.returncode != 0 or not match:
        return False
    return subprocess.run(["xprop", "-id", match.group(1)], capture_output=True).returncode == 0


def forget_window_manager():
    """Wine takes a stale check window for a running manager (and waits on it for ever)."""
    for name in ("_NET_SUPPORTING_WM_CHECK", "_NET_ACTIVE_WINDOW"):
        subprocess.run(["xprop", "-root", "-remove", name], capture_output=True)


def main(argv):
    if not os.environ.get("DISPLAY"):
        print("with_window_manager: no DISPLAY", file=sys.stderr)
        return 1
    manager = None
    if not window_manager_running():
        forget_window_manager()
        manager = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 10
        while not window_manager_running():
            if time.monotonic() > deadline or manager.poll() is not None:
                print("with_window_manager: openbox did not come up", file=sys.stderr)
                return 1
            time.sleep(0.1)
    try:
        return subprocess.run(argv).returncode
    finally:
        if manager is not None:
            manager.terminate()
            try:
                manager.wait(timeout=10)
            except subprocess.TimeoutExpired:
                manager.kill()
                manager.wait()
            forget_window_manager()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
