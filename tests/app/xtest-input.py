"""Types keys into the X window with the given title, as a user would:
xtest-input.py [--tap] [--moment] <title> <key>... where a key is a keysym name
and "+" joins keys held together (Alt_L+Return). With --tap each key goes up
right after it went down, as xdotool's key does; with --moment the moment the
last keys were all down (CLOCK_BOOTTIME, the clock of /proc/uptime) is printed."""
import ctypes
import ctypes.util
import sys
import time

from xwindow import open_titled_window


def main():
    args = sys.argv[1:]
    flags = []
    while args[0].startswith("--"):
        flags.append(args.pop(0))
    tap = "--tap" in flags
    x, display, window = open_titled_window(args[0])
    xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
    x.XStringToKeysym.restype = ctypes.c_ulong
    x.XKeysymToKeycode.restype = ctypes.c_ubyte
    # No window manager gives the focus: take it, with the pointer inside.
    x.XRaiseWindow(display, ctypes.c_ulong(window))
    x.XSetInputFocus(display, ctypes.c_ulong(window), 1, ctypes.c_ulong(0))
    x.XSync(display, 0)
    time.sleep(0.3)

    def send(code, down, pause):
        xtst.XTestFakeKeyEvent(display, code, down, ctypes.c_ulong(0))
        if not tap:
            x.XSync(display, 0)
        sent = time.clock_gettime(time.CLOCK_BOOTTIME)
        if not tap:
            time.sleep(pause)
        return sent

    for chord in args[1:]:
        codes = [x.XKeysymToKeycode(display, x.XStringToKeysym(k.encode())) for k in chord.split("+")]
        for code in codes:
            down = send(code, 1, 0.1)
        time.sleep(0 if tap else 0.2)
        for code in reversed(codes):
            send(code, 0, 0.1)
        if tap:
            # Each chord a batch of its own, as a person types.
            x.XSync(display, 0)
            time.sleep(0.1)
    x.XCloseDisplay(display)
    if "--moment" in flags:
        print(down)


main()
