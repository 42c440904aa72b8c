"""Finds a top-level X window by its title, for the scripts that act on the player's window."""
import ctypes
import ctypes.util
import sys


def _find(x, display, window, title):
    name = ctypes.c_char_p()
    if x.XFetchName(display, window, ctypes.byref(name)) and name.value == title:
        return window
    root, parent = ctypes.c_ulong(), ctypes.c_ulong()
    children, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
    if not x.XQueryTree(display, window, ctypes.byref(root), ctypes.byref(parent),
                        ctypes.byref(children), ctypes.byref(count)):
        return None
    for i in range(count.value):
        found = _find(x, display, children[i], title)
        if found:
            return found
    return None


def open_display():
    """Returns Xlib and the open display; exits when there is none."""
    x = ctypes.CDLL(ctypes.util.find_library("X11"))
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    display = x.XOpenDisplay(None)
    if not display:
        sys.exit("no display")
    return x, ctypes.c_void_p(display)


def open_titled_window(title):
    """Returns Xlib, the open display and the window titled title; exits when either is missing."""
    x, display = open_display()
    window = _find(x, display, ctypes.c_ulong(x.XDefaultRootWindow(display)), title.encode())
    if not window:
        sys.exit("no window titled " + title)
    return x, display, window
