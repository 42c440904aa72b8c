# The set-up shared by the scenarios that drive the demo in the real player
# under Xvfb and judge its drawn menus and dialogs by screenshots. Sourced by a
# scenario that has set "here" to this folder and "player" to the player; the
# scenario runs twice: outside (outside or outside_demo) and inside the X
# server (the rest).

# Exit 77 when a tool the scenarios need is missing.
need_tools() {
    for tool in Xvfb xauth xwininfo import convert python3; do
        command -v "$tool" >/dev/null || exit 77
    done
}

# The demo as a reader has it, without the options an earlier run left, in
# <dest>/: copy_demo <built game folder> <dest>.
copy_demo() {
    mkdir -p "$2"
    cp -r "$1/data" "$1/system" "$2/"
    rm -f "$2/system/option.qsd"
    ln "$1/quiltor" "$2/quiltor" 2>/dev/null || cp "$1/quiltor" "$2/quiltor"
}

# Outside: a work folder beside the build's game, what the scenario adds in it
# (a function given the work folder, if any), then the scenario again under
# Xvfb; exits with its code: outside <scenario> <player> <work name> [add].
outside() {
    need_tools
    built=$(dirname "$2")
    [ -x "$2" ] || { echo "no player at $2"; exit 1; }
    work=$(mktemp -d "$built/../$3.XXXXXX") || exit 1
    trap 'rm -rf "$work"' EXIT
    [ -z "${4:-}" ] || "$4" "$work"
    under_xvfb "$1" "$work" "$built"
    exit
}

# outside with the demo in <work>/demo before what the scenario adds.
outside_demo() { # scenario player work-name [add]
    demo_add=${4:-}
    outside "$1" "$2" "$3" add_demo
}
add_demo() { # work
    [ -f "$built/data/index.txt" ] || { echo "no demo game at $built"; exit 1; }
    copy_demo "$built" "$1/demo"
    [ -z "$demo_add" ] || "$demo_add" "$1"
}

# A game folder with the scenario's player linked in and the given subfolders.
new_game() { # folder subfolder...
    dest=$1
    shift
    for sub in . "$@"; do mkdir -p "$dest/$sub"; done
    ln "$player" "$dest/quiltor" 2>/dev/null || cp "$player" "$dest/quiltor"
}

# Runs the scenario again inside a fresh X server as
# <scenario> <work> inside <screenshot folder>; its output goes to <work>/log
# and is shown when it fails: under_xvfb <scenario> <work> <built game folder>.
under_xvfb() {
    mkdir -p "$3/../screenshots"
    XDG_RUNTIME_DIR=$2
    export XDG_RUNTIME_DIR
    # Leaks are the unit tests' to find: Mesa's X11 and GL libraries, unloaded at
    # SDL's end, leave allocations no longer told apart. A scenario may set
    # "renderer" empty for SDL's default one, or "lsan" to its own options.
    [ -z "${renderer-software}" ] || export SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0
    export LSAN_OPTIONS="${lsan:-detect_leaks=0}"
    export QUILTOR_LOG=1
    timeout 120 sh "$here/in-xvfb.sh" 1024x768x24 sh ${QUILTOR_TRACE:+-x} "$1" "$2" inside \
        "$(cd "$3/../screenshots" && pwd)" >"$2/log" 2>&1
    code=$?
    [ "$code" -eq 0 ] || { echo "FAIL under Xvfb: $code"; cat "$2/log"; }
    return "$code"
}

# Inside: "shots" is the screenshot folder, "pid" the player started last.

# import, given a window that has just gone, waits for a click to choose one
# with the X server grabbed: every client, the player too, would stop for ever.
shot() { # name
    target=$(xwininfo -name KARUTEMI 2>/dev/null | awk '/Window id/ {print $4}')
    [ -n "$target" ] && timeout 10 import -window "$target" "$shots/$1.png" 2>/dev/null
}

# Mean brightness and share of dark pixels of an area, in thousandths.
brightness() { # name geometry
    convert "$shots/$1.png" -crop "$2" -colorspace gray -format "%[fx:int(1000*mean)]" info:
}
ink() { # name geometry
    convert "$shots/$1.png" -crop "$2" -colorspace gray -threshold 50% -negate -format "%[fx:int(1000*mean)]" info:
}

# A light panel with text in it: what a drawn menu or box looks like.
panel() { # name geometry what
    light=$(brightness "$1" "$2")
    dark=$(ink "$1" "$2")
    [ "$light" -gt 600 ] && [ "$dark" -gt 20 ] && [ "$dark" -lt 400 ] && return 0
    echo "$3: no drawn panel in $2 (brightness $light, ink $dark)"
    return 1
}

wait_for() { # seconds condition...
    limit=$(( $1 * 4 ))
    shift
    i=0
    while [ $i -lt $limit ]; do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.25
        i=$((i + 1))
    done
    "$@"
}

window_up() {
    xwininfo -name KARUTEMI >/dev/null 2>&1
}

# Starts the player of the game folder and waits for its window. With
# QUILTOR_TEST_COMMAND set, the player's window gets that command message at
# frame QUILTOR_TEST_COMMAND_AFTER_FRAMES: a command the menu does not offer.
start_game() { # folder
    cd "$1" && ./quiltor &
    pid=$!
    wait_for 20 window_up
}

# Where each thread of a player that hangs stands, when gdb is at hand.
stacks() { # pid
    command -v gdb >/dev/null || return 0
    timeout 30 gdb -p "$1" -batch -ex "thread apply all bt 30" 2>/dev/null | grep -E '^(Thread|#)'
}

finish() { # what
    i=0
    while kill -0 "$pid" 2>/dev/null && [ $i -lt 40 ]; do
        sleep 0.25
        i=$((i + 1))
    done
    kill -0 "$pid" 2>/dev/null && { echo "$1: the player did not end"; stacks "$pid"; kill -KILL "$pid"; }
    wait "$pid"
    code=$?
    [ "$code" -eq 0 ] || { echo "$1: player ended with $code"; status=1; }
}

click() { # button x y
    python3 "$here/xtest-click.py" KARUTEMI "$@"
}
keys() { # key...
    python3 "$here/xtest-input.py" KARUTEMI "$@"
}
# The release right after the press, as a touchpad tap or xdotool sends them.
tap() { # button x y
    python3 "$here/xtest-click.py" KARUTEMI "$@" tap
}
tap_keys() { # key...
    python3 "$here/xtest-input.py" --tap KARUTEMI "$@"
}
# The pointer warped there, without a button or raw input event.
move() { # x y
    python3 "$here/xtest-click.py" KARUTEMI move "$@"
}

# The popup menu at (200, 150), screenshot "menu". A right click while the
# line is still being written only completes it: click until the menu shows.
open_menu() {
    for attempt in 1 2 3; do
        click 3 200 150 || return 1
        sleep 1
        shot menu
        panel menu 150x200+210+160 "the popup menu" >/dev/null && return 0
    done
    panel menu 150x200+210+160 "the popup menu"
}

# The y of the menu's bottom edge in the screenshot "menu", the last light row
# below its top left.
menu_bottom() {
    convert "$shots/menu.png" -crop 1x320+205+150 -colorspace gray txt:- |
        awk -F'[,:() ]+' 'NR > 1 && $3 + 0 > 150 { last = $2 } END { print last + 150 }'
}

# The y of the settings row of the menu in the screenshot "menu", counted
# from its bottom.
settings_row() {
    echo $(($(menu_bottom) - 57))
}

# "x y" of the top left of the drawn dialog in a screenshot: the corner of its
# title bar, the only area of its grey.
dialog_corner() { # name
    convert "$shots/$1.png" -fill black +opaque '#D1D1D1' -format '%@' info: | awk -F'[x+]' '{ print $3, $4 }'
}

# A panel of the given size at the offset from the dialog's corner.
in_dialog() { # name size x y what
    set -- "$@" $(dialog_corner "$1")
    panel "$1" "$2+$(($3 + $6))+$(($4 + $7))" "$5"
}
# The save dialog's name and type fields.
save_fields() { # name
    in_dialog "$1" 540x50 8 302 "the save dialog's fields"
}

# A new screenshot passes the check, given the name first.
shown() { # name check [argument...]
    name=$1
    check=$2
    shift 2
    shot "$name" && "$check" "$name" "$@"
}
