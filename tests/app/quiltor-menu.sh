#!/bin/sh
# The drawn menu and boxes in the real player under Xvfb: a right click in the
# demo opens the popup menu over the story, its exit item asks its question and
# Return ends the player; in a game whose script has an error, the error box
# shows and Return (OK) ends the player. The screenshots stay in
# <build>/screenshots: quiltor-menu.sh <path to quiltor>.
# Exit 0 when it holds, 77 when it cannot run here, else 1.
set -u
player=$1
here=$(cd "$(dirname "$0")" && pwd)

if [ "${2:-}" != inside ]; then
    for tool in xvfb-run xwininfo import convert python3; do
        command -v "$tool" >/dev/null || exit 77
    done
    built=$(dirname "$player")
    [ -x "$player" ] && [ -f "$built/data/index.txt" ] || { echo "no demo game at $built"; exit 1; }
    work=$(mktemp -d "$built/../menu.XXXXXX") || exit 1
    trap 'rm -rf "$work"' EXIT
    # The demo as a reader has it, and a game whose second tag has an unknown key.
    mkdir -p "$work/demo" "$work/broken/data" "$work/broken/system"
    cp -r "$built/data" "$built/system" "$work/demo/"
    rm -f "$work/demo/system/option.qsd"
    printf '[SYSTEM CONTROL="ERROR" NAME="1"]\r\n' >"$work/broken/system/option.qsd"
    printf '[WAIT TIME="500"][WAIT TIME="10" NOSUCHKEY="1"][C]\r\n' >"$work/broken/data/index.txt"
    for game in demo broken; do
        ln "$player" "$work/$game/quiltor" 2>/dev/null || cp "$player" "$work/$game/quiltor"
    done
    mkdir -p "$built/../screenshots"
    XDG_RUNTIME_DIR=$work
    export XDG_RUNTIME_DIR
    export SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0
    export LSAN_OPTIONS="detect_leaks=0"
    export QUILTOR_LOG=1
    timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" sh ${QUILTOR_TRACE:+-x} "$0" "$work" inside \
        "$(cd "$built/../screenshots" && pwd)" >"$work/log" 2>&1
    code=$?
    [ "$code" -eq 0 ] || { echo "FAIL under Xvfb: $code"; cat "$work/log"; }
    exit "$code"
fi

work=$1
shots=$3

shot() { # name
    target=$(xwininfo -name KARUTEMI 2>/dev/null | awk '/Window id/ {print $4}')
    [ -n "$target" ] && import -window "$target" "$shots/$1.png" 2>/dev/null
}

# Mean brightness and share of dark pixels of an area, in thousandths.
brightness() { # name geometry
    convert "$shots/$1.png" -crop "$2" -colorspace gray -format "%[fx:int(1000*mean)]" info:
}
ink() { # name geometry
    convert "$shots/$1.png" -crop "$2" -colorspace gray -threshold 50% -negate -format "%[fx:int(1000*mean)]" info:
}

# A light panel with text in it: what a drawn menu or box looks like.
panel() { # name geometry what
    light=$(brightness "$1" "$2")
    dark=$(ink "$1" "$2")
    [ "$light" -gt 600 ] && [ "$dark" -gt 20 ] && [ "$dark" -lt 400 ] && return 0
    echo "$3: no drawn panel in $2 (brightness $light, ink $dark)"
    return 1
}

wait_for() { # seconds condition...
    limit=$(( $1 * 4 ))
    shift
    i=0
    while [ $i -lt $limit ]; do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.25
        i=$((i + 1))
    done
    "$@"
}

window_up() {
    xwininfo -name KARUTEMI >/dev/null 2>&1
}

finish() { # what
    i=0
    while kill -0 "$pid" 2>/dev/null && [ $i -lt 40 ]; do
        sleep 0.25
        i=$((i + 1))
    done
    kill -0 "$pid" 2>/dev/null && { echo "$1: the player did not end"; kill -KILL "$pid"; }
    wait "$pid"
    code=$?
    [ "$code" -eq 0 ] || { echo "$1: player ended with $code"; status=1; }
}

# A right click while the line is still being written only completes it:
# click until the menu shows.
open_menu() {
    for attempt in 1 2 3; do
        python3 "$here/xtest-click.py" KARUTEMI 3 200 150 || return 1
        sleep 1
        shot menu
        panel menu 150x200+210+160 "the popup menu" >/dev/null && return 0
    done
    panel menu 150x200+210+160 "the popup menu"
}

status=0

# The demo: the first line's click wait, the menu at the click, its exit item
# (the last one, just above the menu's bottom edge) and the question.
cd "$work/demo" && ./quiltor &
pid=$!
wait_for 20 window_up || exit 1
sleep 2
open_menu || status=1
bottom=$(convert "$shots/menu.png" -crop 1x320+205+150 -colorspace gray txt:- |
         awk -F'[,:() ]+' 'NR > 1 && $3 + 0 > 150 { last = $2 } END { print last + 150 }')
python3 "$here/xtest-click.py" KARUTEMI 1 230 $((bottom - 12)) || status=1
sleep 1
shot question
panel question 200x50+220+215 "the exit question" || status=1
python3 "$here/xtest-input.py" KARUTEMI Return || status=1
finish "exit by the menu"
[ -f "$work/demo/system/option.qsd" ] || { echo "no options written after the exit"; status=1; }

# The script error box, answered OK with Return.
cd "$work/broken" && ./quiltor &
pid=$!
wait_for 20 window_up || exit 1
sleep 3
shot error
panel error 240x60+200+210 "the script error box" || status=1
python3 "$here/xtest-input.py" KARUTEMI Return || status=1
finish "OK in the error box"
exit $status
