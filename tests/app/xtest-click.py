"""Clicks into the X window with the given title, as a user would:
xtest-click.py <title> <button> <x> <y>, the point in window coordinates and
the button 1 (left) or 3 (right)."""
import ctypes
import ctypes.util
import sys
import time

from xwindow import open_titled_window


def main():
    x, display, window = open_titled_window(sys.argv[1])
    button, left, top = (int(v) for v in sys.argv[2:5])
    xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
    x.XRaiseWindow(display, ctypes.c_ulong(window))
    x.XSetInputFocus(display, ctypes.c_ulong(window), 1, ctypes.c_ulong(0))
    x.XWarpPointer(display, ctypes.c_ulong(0), ctypes.c_ulong(window), 0, 0, 0, 0, left, top)
    x.XSync(display, 0)
    time.sleep(0.3)
    xtst.XTestFakeButtonEvent(display, button, 1, ctypes.c_ulong(0))
    x.XSync(display, 0)
    time.sleep(0.1)
    xtst.XTestFakeButtonEvent(display, button, 0, ctypes.c_ulong(0))
    x.XSync(display, 0)
    x.XCloseDisplay(display)


main()
