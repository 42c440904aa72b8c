"""Asks the X window with the given title to close, as a window manager's close box does."""
import ctypes
import ctypes.util
import sys


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class Event(ctypes.Union):
    _fields_ = [("client", ClientMessage), ("pad", ctypes.c_long * 24)]


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
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XInternAtom.restype = ctypes.c_ulong
    for function in (x.XFetchName, x.XQueryTree, x.XInternAtom, x.XSendEvent, x.XFlush, x.XDefaultRootWindow):
        function.argtypes = None
    display = x.XOpenDisplay(None)
    if not display:
        sys.exit("no display")
    display = ctypes.c_void_p(display)
    window = find(x, display, ctypes.c_ulong(x.XDefaultRootWindow(display)), sys.argv[1].encode())
    if not window:
        sys.exit("no window titled " + sys.argv[1])
    event = Event()
    event.client.type = 33  # ClientMessage
    event.client.window = window
    event.client.message_type = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.client.format = 32
    event.client.data[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    x.XSendEvent(display, ctypes.c_ulong(window), 0, ctypes.c_long(0), ctypes.byref(event))
    x.XFlush(display)


main()
