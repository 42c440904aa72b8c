#!/bin/sh
# The pointer warped without raw input, as xdotool, VNC and remote desktops move
# it, in the real player under Xvfb: a picture button of a choice shows its ON
# picture while the pointer is over it and its OFF picture again once the
# pointer has left. The screenshots stay in <build>/screenshots:
# quiltor-hover.sh <path to quiltor>.
# Exit 0 when it holds, 77 when it cannot run here, else 1.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb-kit.sh"

begin "$1" hover
xvfb
# A choice of one picture button, the demo's sun, at (160, 80) to (280, 200).
new_game "$work/hover" data/choice system
cp "$built/data/choice/sun_off.bmp" "$built/data/choice/sun_on.bmp" "$work/hover/data/choice/"
printf '%s\r\n' '[DEFAULTBUTTON PATH="{BASE}choice"][SELECT]' \
    '[BEGINBUTTON X="160" Y="80" WIDTH="120" HEIGHT="120" LABEL="sun"]' \
    '[BUTTON NAME="OFF"][PAINT FILE="sun_off.bmp"][BUTTON NAME="ON"][PAINT FILE="sun_on.bmp"][ENDBUTTON]' \
    '[ENDSELECT][LABEL LABEL="sun"][C]' >"$work/hover/data/index.txt"

# The button's middle has the colour of the picture shown.
shows() { # name colour what
    [ "$(colour "$1" 220 140)" = "$2" ] || { echo "$3"; return 1; }
}
on=FFC83C
off=8C6E21

start "$work/hover"
await window_up || status=1
move 500 400 || status=1
await shown hover-before shows $off "the button is not drawn OFF at first" || status=1
move 220 140 || status=1
await shown hover-on shows $on "the button under the pointer does not show its ON picture" || status=1
move 500 400 || status=1
await shown hover-off shows $off "the button left by the pointer does not show its OFF picture" || status=1
stop term "closed after the pointer moved"
exit $status
