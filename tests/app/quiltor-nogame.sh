#!/bin/sh
# Without a log, under Xvfb: the player alone in an empty folder says on one
# stderr line which start script it looked for, a drawn box says the same in
# the window, Return leaves the end screen, and closing it exits with 0; a
# game whose picture is missing ends in the end screen under the default
# ERROR mode with one stderr line naming the picture and the script's line.
# The screenshot stays in <build>/screenshots: quiltor-nogame.sh <path to quiltor>.
# Exit 0 when it holds, 77 when it cannot run here, else 1.
set -u
player=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb-kit.sh"

add_games() {
    new_game "$1/empty"
    new_game "$1/broken" data
    printf '\r\n[BACK FILE="nothere.bmp"]\r\n' >"$1/broken/data/index.txt"
}
[ "${2:-}" = inside ] || outside "$0" "$player" nogame add_games

work=$1
shots=$3
status=0
unset QUILTOR_LOG
cd "$work/empty" && ./quiltor 2>"$work/stderr" &
pid=$!
wait_for 20 window_up || exit 1
sleep 3
shot nogame
panel nogame 300x40+170+220 "the missing start script box" || status=1
keys Return || status=1
sleep 1
python3 "$here/close-window.py" KARUTEMI || status=1
finish "closing the end screen"
said=$(grep -c "/empty/data/index.txt" "$work/stderr")
[ "$said" -eq 1 ] || { echo "stderr named data/index.txt $said times:"; cat "$work/stderr"; status=1; }

cd "$work/broken" && ./quiltor 2>"$work/broken-stderr" &
pid=$!
wait_for 20 window_up || exit 1
sleep 3
python3 "$here/close-window.py" KARUTEMI || status=1
finish "closing the broken game"
said=$(grep "nothere.bmp" "$work/broken-stderr")
if [ "$(printf '%s\n' "$said" | grep -c .)" -ne 1 ] || ! printf '%s' "$said" | grep -q "/broken/data/index.txt:2: "; then
    echo "stderr did not name the missing picture once with the script's line:"
    cat "$work/broken-stderr"
    status=1
fi
exit $status
