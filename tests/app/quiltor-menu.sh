#!/bin/sh
# The drawn menu and boxes in the real player under Xvfb: a right click in the
# demo opens the popup menu over the story; Escape closes the submenu the
# pointer opened, though the pointer still rests on its item, then the menu;
# Return chooses the exit item the pointer highlights, which asks its question,
# and Return ends the player; the close box in that question ends it too. In a
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
lit() { # name y
    [ "$(colour "$1" 370 "$2")" = 66AAFA ] || { echo "the item under the pointer is not lit"; return 1; }
}

# The exit item (the last one, just above the menu's bottom edge) under the
# pointer and Return: its question, in a new screenshot.
exit_question() { # name
    open_menu || return 1
    row=$(($(menu_bottom) - 12))
    move 230 $row && await shown "$1" lit $row || return 1
    keys Return && await shown "$1" panel 200x50+220+215 "the exit question"
}

# The demo: the first line's click wait, the menu at the click, the skip
# submenu opened by the pointer on its item, two Escapes; then the exit
# question, answered by Return.
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
keys Return || status=1
stop none "exit by the menu"
[ -f "$work/demo/system/option.qsd" ] || fail "no options written after the exit"

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
