#!/bin/sh
# Inside its own X server: the player's window exists with its title and client size,
# and the close box, SIGTERM and Alt+F4 in a script that loops without a wait
# end the player with code 0.
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

    # A script that loops without a wait still reads its keys: Alt+F4 ends it
    # within 3 s.
    game=$(mktemp -d "$(dirname "$player")/../loop-XXXXXX") || exit 1
    trap 'rm -rf "$game"' EXIT
    mkdir "$game/data"
    printf '[LABEL LABEL="top"][SET VARIABLE="a" ENTITY="1"][JUMP LABEL="top"]' >"$game/data/index.txt"
    ln "$player" "$game/quiltor" 2>/dev/null || cp "$player" "$game/quiltor"
    player=$game/quiltor
    start
    python3 "$here/xtest-input.py" KARUTEMI Alt_L+F4 || exit 1
    i=0
    while kill -0 "$pid" 2>/dev/null && [ $i -lt 30 ]; do sleep 0.1; i=$((i + 1)); done
    kill -0 "$pid" 2>/dev/null && { kill -KILL "$pid"; echo "Alt+F4 did not end a looping script within 3 s"; exit 1; }
    finish "Alt+F4 in a loop"
fi
exit 0
