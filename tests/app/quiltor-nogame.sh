#!/bin/sh
# Without a log, under Xvfb: the player alone in an empty folder says on one
# stderr line which start script it looked for, a drawn box says the same in
# the window, Return closes it for the end screen, and closing that exits
# with 0; a game whose picture is missing ends in the white end screen
# under the default ERROR mode with one stderr line naming the picture and the
# script's line. The screenshots stay in <build>/screenshots:
# quiltor-nogame.sh <path to quiltor>.
# Exit 0 when it holds, 77 when it cannot run here, else 1.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb-kit.sh"

begin "$1" nogame
xvfb
new_game "$work/empty"
new_game "$work/broken" data
printf '\r\n[BACK FILE="nothere.bmp"]\r\n' >"$work/broken/data/index.txt"
unset QUILTOR_LOG

box=300x40+170+220
white() { # name
    [ "$(brightness "$1" 640x480+0+0)" -ge 990 ] || { echo "the end screen is not white"; return 1; }
}

start "$work/empty"
await shown nogame panel $box "the missing start script box" || status=1
keys Return || status=1
await shown nogame-closed no_panel $box "after Return, the missing start script box" || status=1
stop close "closing the end screen"
count=$(grep -c "/empty/data/index.txt" "$log")
[ "$count" -eq 1 ] || { fail "stderr named data/index.txt $count times:"; cat "$log"; }

start "$work/broken"
# Faded in whole: a line said again at a later frame would be there too.
await twice shown broken white || status=1
stop close "closing the broken game"
lines=$(grep "nothere.bmp" "$log")
if [ "$(printf '%s\n' "$lines" | grep -c .)" -ne 1 ] || ! printf '%s' "$lines" | grep -q "/broken/data/index.txt:2: "; then
    fail "stderr did not name the missing picture once with the script's line:"
    cat "$log"
fi
exit $status
