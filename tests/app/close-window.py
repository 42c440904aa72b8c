"""Asks the X window with the given title to close, as a window manager's close box does,
and prints the moment of the ask (CLOCK_BOOTTIME, the clock of /proc/uptime).

A request the player never receives (seen under load: the toolkit reported no
close at all) would read as a player that does not end, so one still open a
second later is asked once more, and that is said on stderr; the close is still
timed from the first ask."""
import ctypes
import sys
import time

from xwindow import open_titled_window


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class Event(ctypes.Union):
    _fields_ = [("client", ClientMessage), ("pad", ctypes.c_long * 24)]


ErrorHandler = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
# A window gone between the look and the request is closed: no error for it.
IGNORE_ERRORS = ErrorHandler(lambda display, error: 0)


class WindowAttributes(ctypes.Structure):
    _fields_ = [("pad", ctypes.c_long * 32)]


def main():
    x, display, window = open_titled_window(sys.argv[1])
    x.XSetErrorHandler(IGNORE_ERRORS)
    x.XInternAtom.restype = ctypes.c_ulong
    event = Event()
    event.client.type = 33  # ClientMessage
    event.client.window = window
    event.client.message_type = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.client.format = 32
    event.client.data[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)

    def still_open():
        return x.XGetWindowAttributes(display, ctypes.c_ulong(window), ctypes.byref(WindowAttributes())) != 0

    for attempt in range(2):
        x.XSendEvent(display, ctypes.c_ulong(window), 0, ctypes.c_long(0), ctypes.byref(event))
        # Processed by the server before this client goes.
        x.XSync(display, 0)
        if attempt == 1:
            break
        asked = time.clock_gettime(time.CLOCK_BOOTTIME)
        deadline = time.monotonic() + 1
        while still_open() and time.monotonic() < deadline:
            time.sleep(0.1)
        if not still_open():
            break
        print("close-window: " + sys.argv[1] + " still open 1 s after the close; asked again", file=sys.stderr)
    x.XCloseDisplay(display)
    print(asked)


main()
