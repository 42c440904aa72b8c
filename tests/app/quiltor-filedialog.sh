#!/bin/sh
# The file dialogs in the real player under Xvfb: the menu's file submenu
# opens a script through the open dialog, which lists the game folder's
# subfolders and its scripts with their Japanese names (a Markdown note left
# out), and the script typed in its name field starts; then the screen picture
# goes to the name the save dialog proposes. The screenshots stay in
# <build>/screenshots: quiltor-filedialog.sh <path to quiltor>.
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

# The names in the dialog's list, or its name and type fields, from its corner.
listed() { # name what
    set -- "$1" "$2" $(dialog_corner "$1")
    panel "$1" "200x150+$(($3 + 12))+$(($4 + 67))" "$2"
}
fields() { # name what
    set -- "$1" "$2" $(dialog_corner "$1")
    panel "$1" "540x50+$(($3 + 8))+$(($4 + 302))" "$2"
}

start_game "$work/demo" || exit 1
sleep 2
open_menu || status=1
# The file submenu opens to the right of the menu; its first row opens the dialog.
row=$(file_row)
click 1 230 $row || status=1
sleep 1
shot file-menu
click 1 430 $row || status=1
sleep 1
shot file-dialog
listed file-dialog "the open dialog's list" || status=1
fields file-dialog "the open dialog's fields" || status=1
keys g r e e n period t x t Return || status=1
sleep 2
shot opened
centre=$(convert "$shots/opened.png" -crop 1x1+320+240 -format '%[hex:u.p{0,0}]' info:)
[ "$centre" = 00FF00 ] || { echo "the script typed in the dialog did not start (centre $centre)"; status=1; }

# The screen picture, the submenu's last row, under the proposed name.
open_menu || status=1
click 1 230 $row || status=1
sleep 1
click 1 430 $((row + 64)) || status=1
sleep 1
shot save-dialog
fields save-dialog "the save dialog's fields" || status=1
keys Return || status=1
sleep 2
[ "$(head -c 5 "$work/demo/Quiltor00.pdt" 2>/dev/null)" = PDT10 ] || { echo "no Quiltor00.pdt after the save dialog"; ls "$work/demo"; status=1; }
kill -TERM "$pid"
finish "closed after the dialogs"
exit $status
