#!/bin/sh
# Taps in the real player under Xvfb: clicks and keys whose release comes
# right after the press, as a touchpad or xdotool sends them. Keys tapped in
# the name field of the screen picture's save dialog (reached by its command
# message: the menu does not offer it) edit it, a tap on the menu's quick save
# writes it, and a tap on はい of the exit question ends the player. The
# screenshots stay in <build>/screenshots: quiltor-taps.sh <path to quiltor>.
# Exit 0 when it holds, 77 when it cannot run here, else 1.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb-kit.sh"

begin "$1" taps
xvfb
game=$work/demo
copy_demo "$game"

written() { # file what
    [ -f "$game/$1" ] && return 0
    echo "$2:"
    ls "$game"
    return 1
}

# The screen picture's save dialog, a second or so into the demo, proposes a
# name, selected; End, Ctrl+A, a new name, a stray letter taken back with
# Backspace, and Return save it under the new one.
start "$game" QUILTOR_TEST_COMMAND=40059 QUILTOR_TEST_COMMAND_AFTER_FRAMES=45
await shown tap-save-dialog save_fields || status=1
tap_keys End Control_L+a t a p p e d period p d t x BackSpace Return || status=1
await written tapped.pdt "the tapped name was not used" || status=1

# Quick save is the menu's second item, below the skip submenu and a separator.
open_menu || status=1
tap 1 230 190 || status=1
await written Save/index.q "no quick save after a tap on its item" || status=1

# はい, the question's first button.
open_menu || status=1
tap 1 230 $(($(menu_bottom) - 12)) || status=1
await shown tap-question asked "the exit question" || status=1
set -- $(dialog_corner tap-question)
tap 1 $(($1 + 50)) $(($2 + 83)) || status=1
stop none "a tap on はい"
exit $status
