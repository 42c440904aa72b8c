"""Prints each top-level X window the first time it is mapped, one id a line,
until killed; "watching" comes first, once no mapping can be missed."""
import ctypes

from xwindow import open_display

MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


def main():
    x, display = open_display()
    x.XSelectInput(display, ctypes.c_ulong(x.XDefaultRootWindow(display)), ctypes.c_long(SUBSTRUCTURE_NOTIFY_MASK))
    x.XSync(display, 0)
    print("watching", flush=True)
    # XEvent is a union of 24 longs; a map event's window is its sixth.
    event = (ctypes.c_long * 24)()
    seen = set()
    while True:
        x.XNextEvent(display, event)
        if event[0] & 0xFFFFFFFF == MAP_NOTIFY and event[5] not in seen:
            seen.add(event[5])
            print(hex(event[5]), flush=True)


if __name__ == "__main__":
    main()
