#!/bin/sh
# The drawn menu and boxes in the real player under Xvfb: a right click in the
# demo opens the popup menu over the story; Escape closes the submenu the
# pointer opened, though the pointer still rests on its item, then the menu;
# Return chooses the exit item the pointer highlights, which asks its question;
# its access key N answers it, the menu's X asks it again, and Y ends the
# player; the close box in that question ends it too. The keys walk every
# submenu, the nested one too, and choose there; a submenu opens beside its
# menu, on the side with room, a nested one on its parent's side. In a
# game whose script has an error, the error box shows and Return (OK) ends the
# player, and so does Alt+F4, the resume save and the options written. The
# screenshots stay in
# <build>/screenshots: quiltor-menu.sh <path to quiltor>.
# Exit 0 when it holds, 77 when it cannot run here, else 1.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb-kit.sh"

begin "$1" menu
xvfb
copy_demo "$work/demo"
# A game whose second tag has an unknown key.
new_game "$work/broken" data system
printf '[WAIT TIME="500"][WAIT TIME="10" NOSUCHKEY="1"][C]\r\n' >"$work/broken/data/index.txt"

# Whether the skip submenu, opening over the menu's top, shows in a
# screenshot: only it reaches this far right, light over the dark story.
submenu_shown() { # name
    [ "$(brightness "$1" 70x100+400+160)" -gt 600 ] || { echo "the pointer on the skip item opened no submenu"; return 1; }
}
submenu_closed() { # name
    [ "$(brightness "$1" 70x100+400+160)" -le 600 ] || { echo "Escape left the submenu open"; return 1; }
}
# The item at that height is lit: the pointer highlights it.
lit() { # name y [x]
    [ "$(colour "$1" "${3:-300}" "$2")" = 67ABFB ] || { echo "the item at $2 is not lit"; return 1; }
}
# A lit item crosses the column: a submenu the keys walk stands there.
lit_across() { # name x what
    rows=$(convert "$shots/$1.png" -crop "1x480+$2+0" -fill black +opaque '#67ABFB' -fill white -opaque '#67ABFB' \
        -format '%[fx:int(h*mean+0.5)]' info:)
    [ "$rows" -gt 10 ] || { echo "$3: no lit item at x $2"; return 1; }
}
# The keys opened a submenu of the load item (at y 251 in a menu opened at
# y 150) beside the menu: its item is lit at x, where the menu's own item
# stays lit at menu_x, uncovered.
load_beside() { # name x menu_x
    lit_across "$1" "$2" "the load submenu" && lit "$1" 251 "$3"
}
# The demo's second line waits.
at_second_wait() { # name
    [ "$(brightness "$1" 24x24+464+324)" -gt 10 ] || { echo "the demo's second line does not wait"; return 1; }
}
# A load took the story back to the first line, the menu at x closed.
loaded() { # name x
    no_panel "$1" "150x200+$2+160" "the menu" && at_first_wait "$1"
}
# Away from the first wait without a click, the menu at x closed.
read_on_alone() { # name x
    no_panel "$1" "150x200+$2+160" "the menu" && ! at_first_wait "$1" >/dev/null
}
# The first line read on to the second's wait, and the menu opened at x.
menu_at_second_wait() { # x
    click 1 300 420 && await shown second at_second_wait && click 3 "$1" 150 &&
        await shown menu panel "150x200+$(($1 < 320 ? $1 + 5 : $1 - 155))+160" "the popup menu"
}

# The exit item (the last one, just above the menu's bottom edge) under the
# pointer and Return: its question, in a new screenshot.
exit_question() { # name
    open_menu || return 1
    row=$(($(menu_bottom) - 12))
    move 230 $row && await shown "$1" lit $row || return 1
    keys Return && await shown "$1" asked "the exit question"
}

# The demo: the first line's click wait, the menu at the click, the skip
# submenu opened by the pointer on its item, two Escapes; then the exit
# question, answered No by its access key N; the menu's access key X asks it
# again, and Y answers Yes.
start "$work/demo"
open_menu || status=1
move 230 166 || status=1
await shown submenu submenu_shown || status=1
keys Escape || status=1
# Closed, and not opened again at once by the pointer resting on its item.
await twice shown submenu-closed submenu_closed || status=1
panel submenu-closed 150x200+210+160 "the menu after the first Escape" || status=1
keys Escape || status=1
await shown menu-closed no_panel 150x200+210+160 "after the second Escape, the menu" || status=1
exit_question question || status=1
keys n || status=1
await twice shown question-no no_panel 200x50+220+215 "the exit question after N" || status=1
open_menu && keys x && await shown question-x asked "the exit question by X" || status=1
keys y || status=1
stop none "exit by the menu"
[ -f "$work/demo/system/option.qsd" ] || fail "no options written after the exit"

# The keys: the save slot 002 chosen in セーブ; then, with a resume save and a
# choice auto-save copied from it, ロード opened from the window's left half
# (to the menu's right) loads the slot 002; ロード opened at the window's
# right edge (to the menu's left) and its nested submenu, on the same side
# though it has room on neither, load the choice auto-save 01; ロード opened
# from the middle, with room on neither side, stands to the right, over the
# menu's arrows, not over its labels, and loads the resume save. The font
# submenu opens on its first item, and the skip submenu's automatic reading
# reads on without a click.
start "$work/demo"
open_menu || status=1
tap_keys Down Down Down Right Down Down || status=1
await shown keys-save lit_across 420 "the save submenu" || status=1
tap_keys Return || status=1
await test -s "$work/demo/Save/index.002" || fail "the keys saved no slot 002"
cp "$work/demo/Save/index.002" "$work/demo/Save/index.a" && cp "$work/demo/Save/index.002" "$work/demo/Save/index.s01"
menu_at_second_wait 20 || status=1
tap_keys Down Down Down Down Right || status=1
await shown keys-load-right load_beside 300 170 || status=1
tap_keys Down Down Return || status=1
await shown keys-loaded-slot loaded 25 || status=1
menu_at_second_wait 620 || status=1
tap_keys Down Down Down Down Right || status=1
await shown keys-load-left load_beside 300 465 || status=1
tap_keys Down Right || status=1
await shown keys-load-nested lit_across 60 "the nested submenu, left of ロード" || status=1
tap_keys Return || status=1
await shown keys-loaded-auto loaded 465 || status=1
menu_at_second_wait 260 || status=1
tap_keys Down Down Down Down Right || status=1
await shown keys-load-middle lit_across 600 "the load submenu, right of the menu" || status=1
no_panel keys-load-middle 200x100+20+300 "a load submenu over the menu's labels" || status=1
tap_keys Return || status=1
await shown keys-loaded-middle loaded 265 || status=1
open_menu || status=1
tap_keys Up Up Up Up Right || status=1
await shown keys-font lit_across 400 "the font submenu" || status=1
tap_keys Left Home Right Down Down Return || status=1
await twice shown keys-auto read_on_alone 210 || status=1
stop close "the keys' walk"

# The close box while the exit question is up.
start "$work/demo"
exit_question question-closed || status=1
stop close "the close box in the exit question"

# The script error box, answered OK with Return or closed by Alt+F4: either
# ends the player, the resume save and the options written.
for answer in "error Return" "error-alt-f4 Alt_L+F4"; do
    set -- $answer
    rm -f "$work/broken/Save/index.a"
    printf '[SYSTEM CONTROL="ERROR" NAME="1"]\r\n' >"$work/broken/system/option.qsd"
    start "$work/broken"
    await shown "$1" panel 240x60+200+210 "the script error box" || status=1
    keys "$2" || status=1
    stop none "$2 in the error box"
    [ -s "$work/broken/Save/index.a" ] || fail "no resume save after $2 in the error box"
    grep -q 'CONTROL="TEXT"' "$work/broken/system/option.qsd" || fail "no options written after $2 in the error box"
done
exit $status
