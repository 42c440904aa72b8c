#!/bin/sh
# Inside xvfb-run: the player's window exists with its title and client size,
# and both the close box and SIGTERM end the player with code 0.
set -u
player=$1
here=$(cd "$(dirname "$0")" && pwd)

wait_for_window() {
    i=0
    while [ $i -lt 100 ]; do
        xwininfo -name KARUTEMI >/dev/null 2>&1 && return 0
        sleep 0.1
        i=$((i + 1))
    done
    echo "no window titled KARUTEMI"
    return 1
}

start() {
    "$player" &
    pid=$!
    wait_for_window || exit 1
}

finish() { # what
    wait "$pid"
    code=$?
    [ "$code" -eq 0 ] || { echo "$1: exit $code"; exit 1; }
}

start
info=$(xwininfo -name KARUTEMI)
echo "$info" | grep -q "Width: 640" || { echo "$info"; exit 1; }
echo "$info" | grep -q "Height: 480" || { echo "$info"; exit 1; }
echo "$info" | grep -q "IsViewable" || { echo "$info"; exit 1; }
kill -TERM "$pid"
finish SIGTERM

if command -v python3 >/dev/null; then
    options="$(dirname "$player")/system/option.qsd"
    rm -f "$options"
    start
    python3 "$here/close-window.py" KARUTEMI || exit 1
    finish "close box"
    # The engine writes the options at the end of every run.
    [ -f "$options" ] || { echo "no $options after the close box"; exit 1; }
fi
exit 0
