#!/bin/sh
# The demo game in the real player under Xvfb, as a reader starts it: its story
# text appears in the window, Return advances it, and the close box ends the
# player with code 0 and writes the options: quiltor-demo.sh <path to quiltor>.
# Exit 0 when it holds, 77 when it cannot run here, else 1.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb-kit.sh"

begin "$1" demo
# Leaks checked, but for those of the X11 libraries.
lsan="suppressions=$here/lsan-x11.supp"
xvfb
copy_demo "$work/demo"

# The share of lit pixels in the lower part of the window, where the demo
# puts its text, in thousandths, is more than the given.
text_ink() { # name more-than
    ink=$(convert "$shots/$1.png" -crop 640x180+0+295 -threshold 50% -format "%[fx:int(1000*mean)]" info:)
    [ "$ink" -gt "$2" ] || { echo "no more text in the window (ink $ink)"; return 1; }
}

ink=0
start "$work/demo"
await shown demo text_ink 0 || status=1
first=$ink
if [ $status -eq 0 ]; then
    # Return shows the rest of the line at once, then the waits move on.
    keys Return && await shown demo text_ink "$first" || status=1
fi
stop close "the close box"
[ -f "$work/demo/system/option.qsd" ] || fail "no options written"
exit $status
