#!/bin/sh
# The real player under Xvfb shows the picture of its start script, and
# Alt+Enter at a click wait takes it to full screen (letterboxed) and back with
# the picture kept and the story on the same page, all in the one window it
# made: quiltor-screenshot.sh <path to quiltor>.
# Exit 0 when it holds, 77 when it cannot run here, else 1.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb-kit.sh"

begin "$1" screenshot
# SDL's default renderer, OpenGL, as players have it; the other scenarios draw
# through the software one.
renderer=
xvfb
# Four quadrants: red, green / blue, white.
game=$work/game
new_game "$game" data system
python3 - "$game/data/startup.bmp" <<'PY'
import struct, sys
w, h = 640, 480
rows = bytearray()
for y in range(h - 1, -1, -1):
    for x in range(w):
        rows += bytes([(0, 0, 255), (0, 255, 0), (255, 0, 0), (255, 255, 255)][(x >= 320) + 2 * (y >= 240)])
info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, 0, 0, 0, 0, 0)
open(sys.argv[1], 'wb').write(b'BM' + struct.pack('<IHHI', 54 + len(rows), 0, 0, 54) + info + rows)
PY
# The picture by its internal name ("Z:" and backslashes), then a word in
# the top left corner (the Shift-JIS bytes of ＡＢ) and a click wait, where
# the buttons read Enter too: had Alt+Enter advanced, the script would end
# in the white end screen.
picture=$(printf 'Z:%s' "$game/data/startup.bmp" | tr '/' '\\')
printf '[BACK FILE="%s"]\r\n[DEFAULTTEXT X="8" Y="8"]\202\140\202\141[C]\r\n' "$picture" >"$game/data/index.txt"

colour_at() { # name x y -> "r,g,b"
    convert "$shots/$1.png" -format "%[fx:int(255*p{$2,$3}.r+0.5)],%[fx:int(255*p{$2,$3}.g+0.5)],%[fx:int(255*p{$2,$3}.b+0.5)]" info:
}

# The window shows the four quadrants at these points of its own: in the
# window, the quadrants' centres; in full screen the picture is scaled by 1.6
# (640 x 480 on 1024 x 768), so points that land in each quadrant only then.
# Without a window manager the X window keeps its size while SDL draws for the
# whole screen, and the window shows the top or the bottom 480 rows of that
# drawing: the points lie in the same quadrants in every case.
window_points="160,120 480,120 160,360 480,360"
full_points="400,50 600,50 400,430 600,430"

shows_picture() { # name what points
    name=$1
    what=$2
    set -- $3
    for expected in "255,0,0" "0,255,0" "0,0,255" "255,255,255"; do
        seen=$(colour_at "$name" "${1%,*}" "${1#*,}")
        [ "$seen" = "$expected" ] || { echo "$what: the picture is not in the window ($seen at $1)"; return 1; }
        shift
    done
}

size_is() { # width height
    info=$(xwininfo -name KARUTEMI)
    echo "$info" | grep -q "Width: $1" && echo "$info" | grep -q "Height: $2" && return 0
    echo "$info"
    return 1
}

# The top-level windows mapped from the player's start: its window is made
# once, not destroyed and made anew under a screenshot when its renderer comes.
mapped=$work/mapped
python3 "$here/mapped-windows.py" >"$mapped" &
players="$players $!:$$"
await grep -q watching "$mapped" || status=1
start "$game"
await shown window shows_picture "window" "$window_points" && size_is 640 480 || status=1
if [ $status -eq 0 ]; then
    keys Alt_L+Return && await shown full-screen shows_picture "full screen" "$full_points" || status=1
fi
if [ $status -eq 0 ]; then
    keys Alt_L+Return && await shown window-again shows_picture "window again" "$window_points" && size_is 640 480 || status=1
fi
# Still there a few frames on, where the end screen would be fading in.
[ $status -eq 0 ] && { await twice shown same-page shows_picture "the same page after two switches" "$window_points" || status=1; }
if [ "$(grep -c '^0x' "$mapped")" -ne 1 ]; then
    fail "the player mapped these windows, not one:"
    cat "$mapped"
fi
stop term SIGTERM
exit $status
