#!/usr/bin/env python3
"""Top-level X windows for tests, through Xlib (ctypes): one per argument "map:<name>" (shown)
or "hidden:<name>" (created, never mapped), made in order. Prints "ready" once the server has
them all, then keeps them until its standard input closes."""
import ctypes
import ctypes.util
import sys


def main():
    x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XCreateSimpleWindow.restype = ctypes.c_ulong
    x11.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 2 + [ctypes.c_uint] * 3 + [
        ctypes.c_ulong] * 2
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XChangeProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int,
                                    ctypes.c_int, ctypes.c_char_p, ctypes.c_int]
    x11.XMapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]

    display = x11.XOpenDisplay(None)
    if not display:
        print("no display", flush=True)
        return 1
    root = x11.XDefaultRootWindow(display)
    utf8 = x11.XInternAtom(display, b"UTF8_STRING", 0)
    names = [x11.XInternAtom(display, atom, 0) for atom in (b"WM_NAME", b"_NET_WM_NAME")]
    for spec in sys.argv[1:]:
        how, name = spec.split(":", 1)
        window = x11.XCreateSimpleWindow(display, root, 10, 10, 200, 100, 0, 0, 0xFFFFFF)
        data = name.encode()
        for prop in names:
            x11.XChangeProperty(display, window, prop, utf8, 8, 0, data, len(data))
        if how == "map":
            x11.XMapWindow(display, window)
        x11.XSync(display, 0)
    print("ready", flush=True)
    sys.stdin.read()
    return 0


if __name__ == "__main__":
    sys.exit(main())
