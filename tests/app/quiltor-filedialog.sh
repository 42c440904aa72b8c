#!/bin/sh
# The file dialogs in the real player under Xvfb, reached by the window's
# command messages (the menu offers neither): the open dialog lists the game
# folder's subfolders and its scripts with their Japanese names (a Markdown
# note left out), and the script typed in its name field starts; then the
# screen picture goes to the name the save dialog proposes. The screenshots
# stay in <build>/screenshots: quiltor-filedialog.sh <path to quiltor>.
# Exit 0 when it holds, 77 when it cannot run here, else 1.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb-kit.sh"

begin "$1" filedialog
xvfb
# Scripts with Japanese names, a script that paints the screen green, a
# folder and a note beside the player.
game=$work/demo
copy_demo "$game"
mkdir -p "$game/シナリオ"
for name in 第一章.txt 表示テスト.txt おまけ.qlx メモ.md; do
    printf '[C]\r\n' >"$game/$name"
done
printf '[BACK COLOR="#00FF00"][C]\r\n' >"$game/green.txt"

green() { # name
    centre=$(colour "$1" 320 240)
    [ "$centre" = 00FF00 ] || { echo "the script typed in the dialog did not start (centre $centre)"; return 1; }
}
picture_saved() {
    [ "$(head -c 5 "$game/Quiltor00.pdt" 2>/dev/null)" = PDT10 ] && return 0
    echo "no Quiltor00.pdt after the save dialog:"
    ls "$game"
    return 1
}

# The open dialog, a second or so into the demo.
start "$game" QUILTOR_TEST_COMMAND=40018 QUILTOR_TEST_COMMAND_AFTER_FRAMES=45
await shown file-dialog in_dialog 200x150 12 67 "the open dialog's list" || status=1
in_dialog file-dialog 540x50 8 302 "the open dialog's fields" || status=1
keys g r e e n period t x t Return || status=1
await shown opened green || status=1
stop term "closed after the open dialog"

# The screen picture under the proposed name.
start "$game" QUILTOR_TEST_COMMAND=40059 QUILTOR_TEST_COMMAND_AFTER_FRAMES=45
await shown save-dialog save_fields || status=1
keys Return || status=1
await picture_saved || status=1
stop term "closed after the save dialog"
exit $status
