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

# Items on the text's lines 0 to 2: y 300 to 390, x from 32, 24 pixels a character.
add_choice() { # work
    new_game "$1" data system
    python3 - "$1/data/index.txt" <<'PY'
import sys
script = ('[SYSTEM CONTROL="TEXT" TIME="0"][DEFAULTTEXT X="32" Y="300"]'
          '[SELECT][WRITE BODY="海へ行く" LABEL="a"][WRITE BODY="山へ行く" LABEL="b"][WRITE BODY="家に帰る" LABEL="c"][ENDSELECT]'
          '[LABEL LABEL="a"]海です。[C][LABEL LABEL="b"]山です。[C][LABEL LABEL="c"]家です。[C]\r\n')
open(sys.argv[1], 'wb').write(script.encode('cp932'))
PY
}
[ "${2:-}" = inside ] || outside "$0" "$player" choice add_choice

player=$1/quiltor
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
