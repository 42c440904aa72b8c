"""Clicks into the X window with the given title, as a user would:
xtest-click.py <title> <button> <x> <y> [tap], the point in window coordinates
and the button 1 (left) or 3 (right); "tap" sends the release right after the
press, as a touchpad tap or xdotool's click does. With the button "move" the
pointer is only warped there, as xdotool's mousemove and remote desktops move
it: no raw input event comes with it."""
import ctypes
import ctypes.util
import sys
import time

from xwindow import open_titled_window


def main():
    x, display, window = open_titled_window(sys.argv[1])
    button, left, top = sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    tap = sys.argv[5:] == ["tap"]
    xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
    x.XRaiseWindow(display, ctypes.c_ulong(window))
    x.XSetInputFocus(display, ctypes.c_ulong(window), 1, ctypes.c_ulong(0))
    x.XWarpPointer(display, ctypes.c_ulong(0), ctypes.c_ulong(window), 0, 0, 0, 0, left, top)
    x.XSync(display, 0)
    if button != "move":
        time.sleep(0.3)
        xtst.XTestFakeButtonEvent(display, int(button), 1, ctypes.c_ulong(0))
        if not tap:
            x.XSync(display, 0)
            time.sleep(0.1)
        xtst.XTestFakeButtonEvent(display, int(button), 0, ctypes.c_ulong(0))
        x.XSync(display, 0)
    x.XCloseDisplay(display)


main()
