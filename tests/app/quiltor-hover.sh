#!/bin/sh
# The pointer warped without raw input, as xdotool, VNC and remote desktops move
# it, in the real player under Xvfb: a picture button of a choice shows its ON
# picture while the pointer is over it and its OFF picture again once the
# pointer has left. The screenshots stay in <build>/screenshots:
# quiltor-hover.sh <path to quiltor>.
# Exit 0 when it holds, 77 when it cannot run here, else 1.
set -u
player=$1
here=$(cd "$(dirname "$0")" && pwd)

. "$here/xvfb-kit.sh"

# A choice of one picture button, the demo's sun, at (160, 80) to (280, 200).
add_button() { # work
    new_game "$1/hover" data/choice system
    cp "$1/demo/data/choice/sun_off.bmp" "$1/demo/data/choice/sun_on.bmp" "$1/hover/data/choice/"
    printf '%s\r\n' '[DEFAULTBUTTON PATH="{BASE}choice"][SELECT]' \
        '[BEGINBUTTON X="160" Y="80" WIDTH="120" HEIGHT="120" LABEL="sun"]' \
        '[BUTTON NAME="OFF"][PAINT FILE="sun_off.bmp"][BUTTON NAME="ON"][PAINT FILE="sun_on.bmp"][ENDBUTTON]' \
        '[ENDSELECT][LABEL LABEL="sun"][C]' >"$1/hover/data/index.txt"
}

[ "${2:-}" = inside ] || outside_demo "$0" "$player" hover add_button

work=$1
shots=$3
status=0

# The button's middle in the screenshot has the colour of the picture shown.
shows() { # name colour
    shot "$1" && [ "$(convert "$shots/$1.png" -crop 1x1+220+140 -format '%[hex:u.p{0,0}]' info:)" = "$2" ]
}
on=FFC83C
off=8C6E21

start_game "$work/hover" || exit 1
move 500 400 || status=1
wait_for 10 shows hover-before $off || { echo "the button is not drawn OFF at first"; status=1; }
move 220 140 || status=1
wait_for 5 shows hover-on $on || { echo "the button under the pointer does not show its ON picture"; status=1; }
move 500 400 || status=1
wait_for 5 shows hover-off $off || { echo "the button left by the pointer does not show its OFF picture"; status=1; }
kill -TERM "$pid"
finish "closed after the pointer moved"
exit $status
