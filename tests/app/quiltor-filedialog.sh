#!/bin/sh
# The file dialogs in the real player under Xvfb, reached by the window's
# command messages (the menu offers neither): the open dialog lists the game
# folder's subfolders and its scripts with their Japanese names (a Markdown
# note left out), and the script typed in its name field starts; then the
# screen picture goes to the name the save dialog proposes. The screenshots
# stay in <build>/screenshots: quiltor-filedialog.sh <path to quiltor>.
# Exit 0 when it holds, 77 when it cannot run here, else 1.
set -u
player=$1
here=$(cd "$(dirname "$0")" && pwd)

. "$here/xvfb-kit.sh"

# Scripts with Japanese names, a script that paints the screen green, a
# folder and a note beside the player.
add_files() { # work
    mkdir -p "$1/demo/シナリオ"
    for name in 第一章.txt 表示テスト.txt おまけ.qlx メモ.md; do
        printf '[C]\r\n' >"$1/demo/$name"
    done
    printf '[BACK COLOR="#00FF00"][C]\r\n' >"$1/demo/green.txt"
}

[ "${2:-}" = inside ] || outside_demo "$0" "$player" filedialog add_files

work=$1
shots=$3
status=0

# The open dialog, a second or so into the demo.
export QUILTOR_TEST_COMMAND=40018 QUILTOR_TEST_COMMAND_AFTER_FRAMES=45
start_game "$work/demo" || exit 1
wait_for 30 shown file-dialog in_dialog 200x150 12 67 "the open dialog's list" || status=1
in_dialog file-dialog 540x50 8 302 "the open dialog's fields" || status=1
keys g r e e n period t x t Return || status=1
sleep 2
shot opened
centre=$(convert "$shots/opened.png" -crop 1x1+320+240 -format '%[hex:u.p{0,0}]' info:)
[ "$centre" = 00FF00 ] || { echo "the script typed in the dialog did not start (centre $centre)"; status=1; }
kill -TERM "$pid"
finish "closed after the open dialog"

# The screen picture under the proposed name.
export QUILTOR_TEST_COMMAND=40059
start_game "$work/demo" || exit 1
wait_for 30 shown save-dialog save_fields || status=1
keys Return || status=1
sleep 2
[ "$(head -c 5 "$work/demo/Quiltor00.pdt" 2>/dev/null)" = PDT10 ] || { echo "no Quiltor00.pdt after the save dialog"; ls "$work/demo"; status=1; }
kill -TERM "$pid"
finish "closed after the save dialog"
exit $status
