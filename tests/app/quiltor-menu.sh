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
player=$1
here=$(cd "$(dirname "$0")" && pwd)

. "$here/xvfb-kit.sh"

# A game whose second tag has an unknown key, beside the demo.
add_broken() { # work
    new_game "$1/broken" data system
    printf '[WAIT TIME="500"][WAIT TIME="10" NOSUCHKEY="1"][C]\r\n' >"$1/broken/data/index.txt"
}

[ "${2:-}" = inside ] || outside_demo "$0" "$player" menu add_broken

work=$1
shots=$3
status=0

# Whether the skip submenu, opening over the menu's top, shows in a
# screenshot: only it reaches this far right, light over the dark story.
submenu_shown() { # name
    [ "$(brightness "$1" 70x100+400+160)" -gt 600 ]
}

# The exit item (the last one, just above the menu's bottom edge) under the
# pointer and Return: its question, in a new screenshot.
exit_question() { # name
    open_menu || return 1
    move 230 $(($(menu_bottom) - 12)) || return 1
    sleep 1
    keys Return || return 1
    sleep 1
    shot "$1"
    panel "$1" 200x50+220+215 "the exit question"
}

# The demo: the first line's click wait, the menu at the click, the skip
# submenu opened by the pointer on its item, two Escapes; then the exit
# question, answered by Return.
start_game "$work/demo" || exit 1
sleep 2
open_menu || status=1
move 230 166 || status=1
sleep 1
shot submenu
submenu_shown submenu || { echo "the pointer on the skip item opened no submenu"; status=1; }
keys Escape || status=1
sleep 1
shot submenu-closed
submenu_shown submenu-closed >/dev/null && { echo "Escape left the submenu open"; status=1; }
panel submenu-closed 150x200+210+160 "the menu after the first Escape" || status=1
keys Escape || status=1
sleep 1
shot menu-closed
panel menu-closed 150x200+210+160 "" >/dev/null && { echo "the second Escape left the menu open"; status=1; }
exit_question question || status=1
keys Return || status=1
finish "exit by the menu"
[ -f "$work/demo/system/option.qsd" ] || { echo "no options written after the exit"; status=1; }

# The close box while the exit question is up.
start_game "$work/demo" || exit 1
sleep 2
exit_question question-closed || status=1
python3 "$here/close-window.py" KARUTEMI || status=1
finish "the close box in the exit question"

# The script error box, answered OK with Return or closed by Alt+F4: either
# ends the player, the resume save and the options written.
for answer in "error Return" "error-alt-f4 Alt_L+F4"; do
    set -- $answer
    rm -f "$work/broken/Save/index.a"
    printf '[SYSTEM CONTROL="ERROR" NAME="1"]\r\n' >"$work/broken/system/option.qsd"
    start_game "$work/broken" || exit 1
    sleep 3
    shot "$1"
    panel "$1" 240x60+200+210 "the script error box" || status=1
    keys "$2" || status=1
    finish "$2 in the error box"
    [ -s "$work/broken/Save/index.a" ] || { echo "no resume save after $2 in the error box"; status=1; }
    grep -q 'CONTROL="TEXT"' "$work/broken/system/option.qsd" || { echo "no options written after $2 in the error box"; status=1; }
done
exit $status
