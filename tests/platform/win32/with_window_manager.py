#!/usr/bin/env python3
"""Runs a command on the X display in $DISPLAY with a window manager: when none runs, openbox is
started for the command's duration. Wine's windows need one to be activated, maximised and
stacked as on Windows, and without one every window's destruction waits two seconds for a
withdrawal that never comes."""
import os
import subprocess
import sys
import time


def window_manager_running():
    result = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], capture_output=True, text=True)
    return result.returncode == 0 and "window id" in result.stdout


def main(argv):
    if not os.environ.get("DISPLAY"):
        print("with_window_manager: no DISPLAY", file=sys.stderr)
        return 1
    manager = None
    if not window_manager_running():
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


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
