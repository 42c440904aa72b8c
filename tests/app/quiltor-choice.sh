#!/bin/sh
# A choice in the real player under Xvfb: three items appear grey, Down twice
# puts the focus on the second, which turns white while the others stay grey,
# and Return chooses it. The screenshot stays in <build>/screenshots:
# quiltor-choice.sh <path to quiltor>.
# Exit 0 when it holds, 77 when it cannot run here, else 1.
set -u
player=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb-kit.sh"

if [ "${2:-}" != inside ]; then
    need_tools
    [ -x "$player" ] || { echo "no player at $player"; exit 1; }
    built=$(dirname "$player")
    game=$(mktemp -d "$built/../choice.XXXXXX") || exit 1
    trap 'rm -rf "$game"' EXIT
    mkdir -p "$game/data" "$game/system" "$built/../screenshots"
    ln "$player" "$game/quiltor" 2>/dev/null || cp "$player" "$game/quiltor"
    # Items on the text's lines 0 to 2: y 300 to 390, x from 32, 24 pixels a character.
    python3 - "$game/data/index.txt" <<'PY'
import sys
script = ('[SYSTEM CONTROL="TEXT" TIME="0"][DEFAULTTEXT X="32" Y="300"]'
          '[SELECT][WRITE BODY="海へ行く" LABEL="a"][WRITE BODY="山へ行く" LABEL="b"][WRITE BODY="家に帰る" LABEL="c"][ENDSELECT]'
          '[LABEL LABEL="a"]海です。[C][LABEL LABEL="b"]山です。[C][LABEL LABEL="c"]家です。[C]\r\n')
open(sys.argv[1], 'wb').write(script.encode('cp932'))
PY
    XDG_RUNTIME_DIR=$game
    export XDG_RUNTIME_DIR
    export SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0
    export LSAN_OPTIONS="detect_leaks=0"
    export QUILTOR_LOG=1
    timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" sh ${QUILTOR_TRACE:+-x} "$0" "$game/quiltor" inside \
        "$(cd "$built/../screenshots" && pwd)" >"$game/log" 2>&1
    code=$?
    [ "$code" -eq 0 ] || { echo "FAIL under Xvfb: $code"; cat "$game/log"; }
    exit "$code"
fi

shot=$3/choice-second.png

take() {
    target=$(xwininfo -name KARUTEMI 2>/dev/null | awk '/Window id/ {print $4}')
    [ -n "$target" ] && import -window "$target" "$shot" 2>/dev/null
}
# Pixels of exactly that colour in an item's rectangle (line 0, 1 or 2).
count() { # colour line
    convert "$shot" -crop "96x30+32+$((300 + 30 * $2))" +repage txt:- 2>/dev/null | grep -ci "$1"
}
items() { # the colour of each item: "white" or "grey" (or "none")
    for line in 0 1 2; do
        if [ "$(count '#FFFFFF' $line)" -gt 20 ]; then printf 'white '
        elif [ "$(count '#808080' $line)" -gt 20 ]; then printf 'grey '
        else printf 'none '; fi
    done
}
wait_for() { # expected items
    i=0
    while [ $i -lt 50 ]; do
        take && [ "$(items)" = "$1" ] && return 0
        sleep 0.2
        i=$((i + 1))
    done
    echo "items are \"$(items)\", not \"$1\""
    return 1
}

"$player" &
pid=$!
status=0
wait_for "grey grey grey " || status=1
if [ $status -eq 0 ]; then
    python3 "$here/xtest-input.py" KARUTEMI Down Down && wait_for "grey white grey " || status=1
fi
if [ $status -eq 0 ]; then
    # Return chooses the second item: the new page of its label, in white on
    # the first line, replaces the choice.
    shot=$3/choice-chosen.png
    python3 "$here/xtest-input.py" KARUTEMI Return && wait_for "white none none " || status=1
fi
python3 "$here/close-window.py" KARUTEMI || status=1
wait "$pid"
code=$?
[ "$code" -eq 0 ] || { echo "player ended with $code"; status=1; }
exit $status
