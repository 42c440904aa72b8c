# The kit of the scenarios that run the real player, sourced by each with
# "here" set to this folder; "begin <player> <name>" comes first. It keeps:
#   work    a new folder beside the build's game, removed at the end
#   shots   the folder of its screenshots, copied at the end to the build's
#           screenshots/, where they stay
#   pid     the player started last, log its stderr
#   status  1 once a check has failed; the scenario exits with it.
# Every wait polls what it awaits, at most $polls times, and gives up at once
# when the player has ended: a player that hangs fails there. The one verdict
# on time, a close within 3 s (6 s in a sanitizer build), counts what load does
# not stretch (see time_close).

polls=300
status=0
pid=
players=
server=
starts=0

fail() { echo "$*"; status=1; }

begin() { # player work-name
    [ -x "$1" ] || { echo "no player at $1"; exit 1; }
    player=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
    built=$(dirname "$player")
    watch=$(dirname "$built")/tests/thread_times
    [ -x "$watch" ] || { echo "no thread_times at $watch: build the tests"; exit 1; }
    kept=$(dirname "$built")/screenshots
    work=$(mktemp -d "$(dirname "$built")/$2.XXXXXX") || exit 1
    shots=$work/shots
    mkdir -p "$shots" "$kept" || exit 1
    trap clean_up EXIT
    trap 'exit 143' TERM
    trap 'exit 130' INT
    # A lock folder of its own, so that parallel runs and a running player do not meet.
    XDG_RUNTIME_DIR=$work
    QUILTOR_LOG=1
    export XDG_RUNTIME_DIR QUILTOR_LOG
}

# Kills what is still running, keeps the screenshots and shows every player's
# stderr when the scenario failed.
clean_up() {
    code=$?
    cp "$shots"/*.png "$kept/" 2>/dev/null
    for started in $players; do
        pid=${started%:*}
        running && [ "$(field 2)" = "${started#*:}" ] && kill -KILL "$pid"
    done
    [ -z "$server" ] || { kill "$server" 2>/dev/null; wait "$server"; }
    if [ "$code" -ne 0 ] && [ "$code" -ne 77 ]; then
        for file in "$work"/player*.log; do
            [ -f "$file" ] && { echo "--- stderr of ${file##*/}:"; cat "$file"; }
        done
    fi
    rm -rf "$work"
}

# An X server of its own (exit 77 when a tool is missing), with DISPLAY and a
# cookie in XAUTHORITY. It picks a free display itself and names it once it
# takes clients: a number chosen by a look at the lock files can be chosen by
# another test at once. It never resets: a reset, when its last client leaves,
# refuses the client that connects meanwhile (the next player). Nor does it
# repeat a held key: "keys" holds each a moment, which load may stretch past
# any repeat delay, and a repeat is then a keystroke more. The players
# draw through SDL's software renderer unless "renderer" is set empty, with
# leaks unchecked unless "lsan" holds LSAN_OPTIONS: Mesa's X11 and GL
# libraries, unloaded at SDL's end, leave allocations no longer told apart.
xvfb() {
    for tool in Xvfb xauth xwininfo import convert python3; do
        command -v "$tool" >/dev/null || exit 77
    done
    XAUTHORITY=$work/xauth
    export XAUTHORITY
    : >"$XAUTHORITY"
    cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
    # The server takes every cookie of its file, whatever display it is filed
    # under; a client looks for the display's own.
    xauth -q add :0 . "$cookie" || exit 1
    mkfifo "$work/display" || exit 1
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset -r -auth "$XAUTHORITY" \
        3>"$work/display" >"$work/xvfb.log" 2>&1 &
    server=$!
    # Written once the server takes clients; nothing when it could not start.
    read -r number <"$work/display"
    [ -n "${number:-}" ] || { echo "Xvfb did not start:"; cat "$work/xvfb.log"; exit 1; }
    xauth -q add ":$number" . "$cookie" || exit 1
    DISPLAY=:$number
    export DISPLAY
    [ -z "${renderer-software}" ] || export SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0
    export LSAN_OPTIONS="${lsan:-detect_leaks=0}"
}

# A game folder with the player linked in and the given subfolders.
new_game() { # folder subfolder...
    dest=$1
    shift
    for sub in . "$@"; do mkdir -p "$dest/$sub" || exit 1; done
    ln "$player" "$dest/quiltor" 2>/dev/null || cp "$player" "$dest/quiltor" || exit 1
}

# The built demo as a reader has it, without the options an earlier run left.
copy_demo() { # folder
    [ -f "$built/data/index.txt" ] || { echo "no demo game at $built"; exit 1; }
    new_game "$1"
    cp -r "$built/data" "$built/system" "$1/" || exit 1
    rm -f "$1/system/option.qsd"
}

# The moment, on the clock of the watch and the X helpers.
now() {
    awk '{ print $1 }' /proc/uptime
}

# Starts the player of the game folder in the background, the environment
# changed as env's arguments say, its stderr in a log of its own. A shell of
# its own waits for it, with thread_times watching its threads meanwhile;
# its start is the moment a close is timed from until one is asked.
start() { # folder [NAME=value | -u NAME]...
    starts=$((starts + 1))
    log=$work/player$starts.log
    (
        cd "$1" && shift || exit 1
        env "$@" ./quiltor &
        started=$!
        now >"$work/asked.$started"
        "$watch" $started >"$work/threads.$started" &
        echo $started >"$log.pid"
        wait $started
        code=$?
        wait
        exit $code
    ) 2>"$log" &
    waiter=$!
    pid=
    await test -s "$log.pid" || exit 1
    pid=$(cat "$log.pid")
    players="$players $pid:$waiter"
    player_kb=0
}

# A field of the player's /proc stat, counted after its name (1 is its state).
field() { # number
    sed 's/.*) //' "/proc/$pid/stat" 2>/dev/null | cut -d' ' -f"$1"
}
running() {
    [ -n "$pid" ] || return 1
    case $(field 1) in '' | Z) return 1 ;; esac
}

# Polls the check (a command and its arguments) until it holds, at most $polls
# times, and once more after the player has ended; only that last look speaks.
await() { # check [argument...]
    held=0
    polled=0
    until "$@" >/dev/null 2>&1; do
        polled=$((polled + 1))
        if [ "$polled" -ge "$polls" ] || { [ -n "$pid" ] && ! running; }; then
            "$@"
            return
        fi
        sleep 0.1
    done
}

# The check holds at two polls in a row: a state the player passes through
# for a frame or two is not awaited.
twice() { # check [argument...]
    if "$@"; then held=$((held + 1)); else held=0; fi
    [ "$held" -ge 2 ]
}

# A line on the player's stderr.
said() { # pattern
    grep -q "$1" "$log" || { echo "the player did not say \"$1\""; return 1; }
}

# player_kb: the player's peak resident memory, as last seen while it ran.
measure() {
    kb=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status" 2>/dev/null)
    [ -z "$kb" ] || player_kb=$kb
}
ended() {
    measure
    ! running
}

# The player catches (SigCgt) or ignores (SigIgn) the signal of that number (1 to 16).
handles() { # SigCgt|SigIgn number
    mask=$(awk -v field="$1:" '$1 == field { print $2 }' "/proc/$pid/status" 2>/dev/null)
    [ -n "$mask" ] && [ $(((0x${mask#"${mask%????}"} >> ($2 - 1)) & 1)) -ne 0 ]
}
# The player catches SIGTERM, which it sets up once it holds its
# single-instance lock.
catches_term() {
    handles SigCgt 15
}
holds_lock() {
    ls "$XDG_RUNTIME_DIR"/quiltor-*.lock >/dev/null 2>&1
}
# Past its start-up: it has let the lock go, at a frame a second or more after its start.
in_play() {
    running && catches_term && ! holds_lock
}

# Where each thread of a player that hangs stands, when gdb is at hand.
stacks() {
    command -v gdb >/dev/null || return 0
    timeout 30 gdb -p "$pid" -batch -ex "thread apply all bt 30" 2>/dev/null | grep -E '^(Thread|#)'
}

# Sets took: the milliseconds from the close (or the start, when none was
# asked) to the player's end, less the longest that any one of its threads
# waited for a processor meanwhile: what load adds, while what it computes and
# a wait on a disk or a lock still count. (A sum over its threads counts waits
# side by side many times over, and can cancel a slow close.) Sets within: the
# 3 s a close may take, twice that in a sanitizer build, whose instrumentation
# stretches every step. took_how says what was counted; took is -1 when the
# threads were not watched.
time_close() {
    set -- $(awk -v from="$(cat "$work/asked.$pid")" '
        NR == 1 { sanitized = $2; next }
        $1 == "end" { end = $2; next }
        {
            if ($1 <= from) before[$2] = $4
            last[$2] = $4
        }
        END {
            if (!end) { print -1; exit }
            for (thread in last) if (last[thread] - before[thread] > most) most = last[thread] - before[thread]
            wall = end > from ? end - from : 0
            printf "%d %d %d %d", (wall > most ? wall - most : 0) * 1000, wall * 1000, most * 1000, sanitized ? 6000 : 3000
        }' "$work/threads.$pid")
    took=$1
    within=${4:-3000}
    took_how="$2 ms to its end, less the $3 ms one of its threads waited for a processor"
}

# Ends the player (the one started last unless pid was set to another): how is term, int or hup (that signal), close (the
# close box), alt-f4, or none (it ends by itself, or was ended already). One
# still running after the polls shows its threads and is killed. It must end
# with the code given, 0 by default, or stop fails; a close must end it
# within the time time_close allows, or stop fails.
stop() { # how what [code]
    asked=$work/asked.$pid
    case $1 in
    term) now >"$asked" && kill -TERM "$pid" ;;
    int) now >"$asked" && kill -INT "$pid" ;;
    hup) now >"$asked" && kill -HUP "$pid" ;;
    close) python3 "$here/close-window.py" KARUTEMI >"$asked" || fail "$2: no window to close" ;;
    alt-f4) python3 "$here/xtest-input.py" --moment KARUTEMI Alt_L+F4 >"$asked" || fail "$2: Alt+F4 was not typed" ;;
    esac
    killed=
    if ! await ended; then
        fail "$2: the player did not end"
        stacks
        kill -KILL "$pid"
        killed=1
    fi
    for started in $players; do
        [ "${started%:*}" = "$pid" ] && waiter=${started#*:}
    done
    wait "$waiter"
    code=$?
    time_close
    if [ "$1" != none ] && [ -z "$killed" ] && [ -s "$asked" ]; then
        [ "$took" -ge 0 ] || fail "$2: the player's threads were not watched"
        [ "$took" -lt "$within" ] || fail "$2: the close took $took_how (at most $within ms here)"
    fi
    pid=
    [ "$code" -eq "${3:-0}" ] || { fail "$2: the player ended with $code"; return 1; }
}

# Under X: the player's window and what is drawn in it.

window_up() {
    xwininfo -name KARUTEMI >/dev/null 2>&1 || { echo "no window titled KARUTEMI"; return 1; }
}

# import, given a window that has just gone, waits for a click to choose one
# with the X server grabbed: every client, the player too, would stop for ever.
shot() { # name
    target=$(xwininfo -name KARUTEMI 2>/dev/null | awk '/Window id/ {print $4}')
    [ -n "$target" ] && timeout 10 import -window "$target" "$shots/$1.png" 2>/dev/null
}

# A new screenshot passes the check, given the name first.
shown() { # name check [argument...]
    name=$1
    check=$2
    shift 2
    shot "$name" && "$check" "$name" "$@"
}

# The colour of a point, as RRGGBB.
colour() { # name x y
    convert "$shots/$1.png" -crop "1x1+$2+$3" -format '%[hex:u.p{0,0}]' info:
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
# What was drawn there has closed: the area is no panel.
no_panel() { # name geometry what
    panel "$1" "$2" "" >/dev/null || return 0
    echo "$3 is still drawn in $2"
    return 1
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

# The demo's first line is written whole and waits: the turning mark shows
# behind it. A right click before only completes the line.
at_first_wait() { # name
    [ "$(brightness "$1" 24x24+484+300)" -gt 10 ] || { echo "the demo's first line does not wait"; return 1; }
}

# The popup menu at (200, 150), at the demo's first wait; screenshot "menu".
open_menu() {
    await shown menu at_first_wait && click 3 200 150 &&
        await shown menu panel 150x200+210+160 "the popup menu"
}

# The y of the menu's bottom edge in the screenshot "menu", the last light row
# below its top left.
menu_bottom() {
    convert "$shots/menu.png" -crop 1x320+205+150 -colorspace gray txt:- |
        awk -F'[,:() ]+' 'NR > 1 && $3 + 0 > 150 { last = $2 } END { print last + 150 }'
}

# The menu's settings row, counted from its bottom in the screenshot "menu".
settings_row() {
    echo $(($(menu_bottom) - 57))
}

# The box an item of the menu asked for, the menu of open_menu closed: its
# left edge, left of any box, is dark, so a screenshot taken before the menu
# closed is not taken for the box.
asked() { # name what
    no_panel "$1" 12x200+203+160 "the popup menu" && panel "$1" 200x50+220+215 "$2"
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
