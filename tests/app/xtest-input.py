"""Types keys into the X window with the given title, as a user would:
xtest-input.py <title> <key>... where a key is a keysym name and "+" joins
keys held together (Alt_L+Return)."""
import ctypes
import ctypes.util
import sys
import time

from xwindow import open_titled_window


def main():
    x, display, window = open_titled_window(sys.argv[1])
    xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
    x.XStringToKeysym.restype = ctypes.c_ulong
    x.XKeysymToKeycode.restype = ctypes.c_ubyte
    # No window manager gives the focus: take it, with the pointer inside.
    x.XRaiseWindow(display, ctypes.c_ulong(window))
    x.XSetInputFocus(display, ctypes.c_ulong(window), 1, ctypes.c_ulong(0))
    x.XSync(display, 0)
    time.sleep(0.3)
    for chord in sys.argv[2:]:
        codes = [x.XKeysymToKeycode(display, x.XStringToKeysym(k.encode())) for k in chord.split("+")]
        for code in codes:
            xtst.XTestFakeKeyEvent(display, code, 1, ctypes.c_ulong(0))
            x.XSync(display, 0)
            time.sleep(0.1)
        time.sleep(0.2)
        for code in reversed(codes):
            xtst.XTestFakeKeyEvent(display, code, 0, ctypes.c_ulong(0))
            x.XSync(display, 0)
            time.sleep(0.1)
    x.XCloseDisplay(display)


main()
