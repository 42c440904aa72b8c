#!/bin/sh
# The demo game in the real player under Xvfb, as a reader starts it: its story
# text appears in the window, Return advances it, and the close box ends the
# player with code 0 and writes the options: quiltor-demo.sh <path to quiltor>.
# Exit 0 when it holds, 77 when it cannot run here, else 1.
set -u
player=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb-kit.sh"

# Leaks checked, but for those of the X11 libraries.
lsan="suppressions=$here/lsan-x11.supp"
[ "${2:-}" = inside ] || outside_demo "$0" "$player" demo

player=$1/demo/quiltor

shot=$(dirname "$player")/shot.png

# The share of lit pixels in the lower part of the window, where the demo
# puts its text, in thousandths.
text_ink() {
    target=$(xwininfo -name KARUTEMI 2>/dev/null | awk '/Window id/ {print $4}')
    [ -n "$target" ] && import -window "$target" "$shot" 2>/dev/null || { echo 0; return; }
    convert "$shot" -crop 640x180+0+295 -threshold 50% -format "%[fx:int(1000*mean)]" info:
}

wait_for_ink() { # more than
    i=0
    while [ $i -lt 60 ]; do
        ink=$(text_ink)
        [ "$ink" -gt "$1" ] && return 0
        sleep 0.25
        i=$((i + 1))
    done
    echo "no text in the window (ink $ink)"
    return 1
}

"$player" &
pid=$!
status=0
wait_for_ink 0 || status=1
first=$ink
if [ $status -eq 0 ]; then
    # Return shows the rest of the line at once, then the waits move on.
    python3 "$here/xtest-input.py" KARUTEMI Return && wait_for_ink "$first" || status=1
fi
python3 "$here/close-window.py" KARUTEMI || status=1
wait "$pid"
code=$?
[ "$code" -eq 0 ] || { echo "player ended with $code"; status=1; }
[ -f "$(dirname "$player")/system/option.qsd" ] || { echo "no options written"; status=1; }
exit $status
