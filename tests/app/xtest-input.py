"""Types keys into the X window with the given title, as a user would:
xtest-input.py <title> <key>... where a key is a keysym name and "+" joins
keys held together (Alt_L+Return)."""
import ctypes
import ctypes.util
import sys
import time


def find(x, display, window, title):
    name = ctypes.c_char_p()
    if x.XFetchName(display, window, ctypes.byref(name)) and name.value == title:
        return window
    root, parent = ctypes.c_ulong(), ctypes.c_ulong()
    children, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
    if not x.XQueryTree(display, window, ctypes.byref(root), ctypes.byref(parent),
                        ctypes.byref(children), ctypes.byref(count)):
        return None
    for i in range(count.value):
        found = find(x, display, children[i], title)
        if found:
            return found
    return None


def main():
    x = ctypes.CDLL(ctypes.util.find_library("X11"))
    xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XStringToKeysym.restype = ctypes.c_ulong
    x.XKeysymToKeycode.restype = ctypes.c_ubyte
    display = x.XOpenDisplay(None)
    if not display:
        sys.exit("no display")
    display = ctypes.c_void_p(display)
    window = find(x, display, ctypes.c_ulong(x.XDefaultRootWindow(display)), sys.argv[1].encode())
    if not window:
        sys.exit("no window titled " + sys.argv[1])
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
