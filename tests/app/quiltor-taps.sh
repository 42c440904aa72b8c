#!/bin/sh
# Taps in the real player under Xvfb: clicks and keys whose release comes
# right after the press, as a touchpad or xdotool sends them. Keys tapped in
# the name field of the screen picture's save dialog (reached by its command
# message: the menu does not offer it) edit it, a tap on the menu's quick save
# writes it, and a tap on はい of the exit question ends the player. The
# screenshots stay in <build>/screenshots: quiltor-taps.sh <path to quiltor>.
# Exit 0 when it holds, 77 when it cannot run here, else 1.
set -u
player=$1
here=$(cd "$(dirname "$0")" && pwd)

. "$here/xvfb-kit.sh"

[ "${2:-}" = inside ] || outside_demo "$0" "$player" taps

work=$1
shots=$3
status=0

# The screen picture's save dialog, a second or so into the demo, proposes a
# name, selected; End, Ctrl+A, a new name, a stray letter taken back with
# Backspace, and Return save it under the new one.
export QUILTOR_TEST_COMMAND=40059 QUILTOR_TEST_COMMAND_AFTER_FRAMES=45
start_game "$work/demo" || exit 1
wait_for 30 shown tap-save-dialog save_fields || status=1
tap_keys End Control_L+a t a p p e d period p d t x BackSpace Return || status=1
wait_for 5 ls "$work/demo/tapped.pdt" || { echo "the tapped name was not used:"; ls "$work/demo"; status=1; }
sleep 1

# Quick save is the menu's second item, below the skip submenu and a separator.
open_menu || status=1
tap 1 230 190 || status=1
wait_for 5 ls "$work/demo/Save/index.q" || { echo "no quick save after a tap on its item"; status=1; }

# はい, the question's first button.
open_menu || status=1
tap 1 230 $(($(menu_bottom) - 12)) || status=1
sleep 1
shot tap-question
set -- $(dialog_corner tap-question)
tap 1 $(($1 + 50)) $(($2 + 83)) || status=1
finish "a tap on はい"
exit $status
