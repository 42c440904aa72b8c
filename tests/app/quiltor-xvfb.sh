#!/bin/sh
# Under Xvfb: the player's window exists with its title and client size, and
# SIGTERM, the close box (the options written) and Alt+F4 in a script that
# loops without a wait end the player with code 0, each within 3 s:
# quiltor-xvfb.sh <path to quiltor>.
# Exit 0 when it holds, 77 when it cannot run here, else 1.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb-kit.sh"

begin "$1" xvfb
# libdbus, which SDL's X11 driver loads, keeps a buffer to the end.
lsan="suppressions=$here/lsan-x11.supp"
xvfb
copy_demo "$work/demo"

start "$work/demo"
await window_up || status=1
info=$(xwininfo -name KARUTEMI)
for expected in "Width: 640" "Height: 480" IsViewable; do
    echo "$info" | grep -q "$expected" || fail "the window lacks \"$expected\": $info"
done
stop term SIGTERM

# The engine writes the options at the end of every run.
rm -f "$work/demo/system/option.qsd"
start "$work/demo"
await window_up || status=1
stop close "the close box"
[ -f "$work/demo/system/option.qsd" ] || fail "no options after the close box"

# A script that loops without a wait still reads its keys: Alt+F4 ends it
# within the 3 s of every close.
new_game "$work/loop" data
printf '[LABEL LABEL="top"][SET VARIABLE="a" ENTITY="1"][JUMP LABEL="top"]' >"$work/loop/data/index.txt"
start "$work/loop"
await window_up || status=1
stop alt-f4 "Alt+F4 in a loop"
exit $status
