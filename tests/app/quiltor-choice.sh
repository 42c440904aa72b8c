#!/bin/sh
# A choice in the real player under Xvfb: three items appear grey; keys
# pressed in the settings sheet opened over it from the menu stay in the
# sheet, and Escape closes it; then Down twice puts the focus on the second,
# which turns white while the others stay grey, and Return chooses it. The screenshots stay in <build>/screenshots:
# quiltor-choice.sh <path to quiltor>.
# Exit 0 when it holds, 77 when it cannot run here, else 1.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb-kit.sh"

begin "$1" choice
xvfb
# Items on the text's lines 0 to 2: y 300 to 390, x from 32, 24 pixels a character.
new_game "$work/choice" data system
python3 - "$work/choice/data/index.txt" <<'PY'
import sys
script = ('[SYSTEM CONTROL="TEXT" TIME="0"][DEFAULTTEXT X="32" Y="300"]'
          '[SELECT][WRITE BODY="海へ行く" LABEL="a"][WRITE BODY="山へ行く" LABEL="b"][WRITE BODY="家に帰る" LABEL="c"][ENDSELECT]'
          '[LABEL LABEL="a"]海です。[C][LABEL LABEL="b"]山です。[C][LABEL LABEL="c"]家です。[C]\r\n')
open(sys.argv[1], 'wb').write(script.encode('cp932'))
PY

# Pixels of exactly that colour in an item's rectangle (line 0, 1 or 2).
count() { # name colour line
    convert "$shots/$1.png" -crop "96x30+32+$((300 + 30 * $3))" +repage txt:- 2>/dev/null | grep -ci "$2"
}
# The colour of each item: "white" or "grey" (or "none").
items() { # name expected
    seen=
    for line in 0 1 2; do
        if [ "$(count "$1" '#FFFFFF' $line)" -gt 20 ]; then seen="${seen}white "
        elif [ "$(count "$1" '#808080' $line)" -gt 20 ]; then seen="${seen}grey "
        else seen="${seen}none "; fi
    done
    [ "$seen" = "$2" ] || { echo "items are \"$seen\", not \"$2\""; return 1; }
}

start "$work/choice"
await shown choice-second items "grey grey grey " || status=1
if [ $status -eq 0 ]; then
    click 3 200 150 && await shown menu panel 150x200+210+160 "the popup menu" &&
        click 1 230 $(settings_row) && await shown choice-settings in_dialog 280x110 0 0 "the settings sheet" &&
        keys Down Down Right Right Right Escape || status=1
    set -- $(dialog_corner choice-settings)
    await twice shown choice-settings-closed no_panel "280x110+$1+$2" "the settings sheet" &&
        await twice shown choice-settings-closed items "grey grey grey " || status=1
fi
if [ $status -eq 0 ]; then
    keys Down Down && await shown choice-second items "grey white grey " || status=1
fi
if [ $status -eq 0 ]; then
    # Return chooses the second item: the new page of its label, in white on
    # the first line, replaces the choice.
    keys Return && await shown choice-chosen items "white none none " || status=1
fi
stop close "the close box"
exit $status
