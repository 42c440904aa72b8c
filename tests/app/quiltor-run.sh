#!/bin/sh
# Runs the real player in one scenario: quiltor-run.sh <scenario> <path to quiltor>
# Exit 0 when the scenario holds, 77 when it cannot run here, else 1.
set -u
scenario=$1
player=$2
here=$(cd "$(dirname "$0")" && pwd)

[ -x "$player" ] || { echo "no player at $player"; exit 1; }

# A lock folder of its own, so parallel runs and a running player do not meet.
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
copies=
trap 'rm -rf "$XDG_RUNTIME_DIR" $copies' EXIT
export QUILTOR_LOG=1
log=$XDG_RUNTIME_DIR/log

fail() { echo "FAIL: $*"; cat "$log"* 2>/dev/null; exit 1; }

# Waits for a process and checks its exit code.
expect_exit() { # pid code what
    wait "$1"
    code=$?
    [ "$code" -eq "$2" ] || fail "$3 ended with $code"
}

# Sets children_ms to the processor milliseconds (user and system) of the
# children ended so far: unlike the clock on the wall, load does not stretch
# them. Not in a subshell, whose times start at nothing.
children_times() {
    times >"$XDG_RUNTIME_DIR/times"
    children_ms=$(awk 'NR == 2 { split($1, u, /[ms]/); split($2, s, /[ms]/); printf "%d", (u[1] * 60 + u[2] + s[1] * 60 + s[2]) * 1000 }' \
        "$XDG_RUNTIME_DIR/times")
}

# Sets game to a copy of the game folder (the player linked in) inside a new
# folder of the build named like the argument; removed at the end.
game_copy() { # name
    folder=$(mktemp -d "$(dirname "$player")/../$1-XXXXXX") || fail "no folder for $1"
    copies="$copies $folder"
    game="$folder/game"
    mkdir "$game"
    cp -r "$(dirname "$player")/data" "$(dirname "$player")/system" "$game/"
    ln "$player" "$game/quiltor" 2>/dev/null || cp "$player" "$game/quiltor"
}

# Waits for a line of the player's stderr; gives up after a minute, for the
# checks after it to fail.
wait_line() { # pattern
    i=0
    until grep -q "$1" "$log" || [ $i -ge 600 ]; do sleep 0.1; i=$((i + 1)); done
}

# SIGTERM to the player, then its clean end. The minute is no bound on its
# time: a player that waits for nobody ends at once, one that waits for a
# box never.
term_player() {
    kill -TERM "$pid"
    i=0
    while kill -0 "$pid" 2>/dev/null && [ $i -lt 600 ]; do sleep 0.1; i=$((i + 1)); done
    kill -0 "$pid" 2>/dev/null && { kill -KILL "$pid"; fail "SIGTERM did not end the player"; }
    expect_exit "$pid" 0 "the player"
}

# Sends a signal once the player has run a while, then expects a clean end.
signal_after_start() { # signal
    SDL_VIDEODRIVER=dummy "$player" 2>"$log" &
    pid=$!
    sleep 1
    kill -"$1" "$pid"
    expect_exit "$pid" 0 "SIG$1"
}

# Under ERROR 1 the player stops at a click wait with a file the close must
# not overwrite, as it could not read it; SIGTERM then ends it, with the
# resume save made and the file said on stderr.
close_with() { # what to break: options or globals
    game_copy "close-$1"
    printf '[SYSTEM CONTROL="ERROR" NAME="1"][C][WAIT TIME="100000"][WAIT TIME="100000"]' >"$game/data/index.txt"
    case $1 in
    options) rm -f "$game/system/option.qsd"; mkdir "$game/system/option.qsd" ;;
    # Over its bound: refused unread, so never written over.
    globals) mkdir -p "$game/Save"; truncate -s 65M "$game/Save/index.g" ;;
    esac
    # Not under timeout: the kill below must reach the player itself.
    SDL_VIDEODRIVER=dummy "$game/quiltor" 2>"$log" &
    pid=$!
    sleep 2
    term_player
    [ -s "$game/Save/index.a" ] || fail "no resume save"
    case $1 in
    options) grep -q "設定のファイルを上書きせずに残します.*option.qsd" "$log" || fail "the options were not said" ;;
    globals) grep -q "グローバル変数.*index.g" "$log" || fail "the globals file was not said" ;;
    esac
}

case $scenario in
huge-sound)
    # A SOUND of a 255 MiB MP3 of silent frames, within the bound of a sound
    # read into memory: some 12 GB of PCM, which plays streamed, so the player
    # reaches the next tag and closes by itself, under 1 GiB all along.
    game_copy "huge-sound"
    python3 -c 'import sys; sys.stdout.buffer.write((bytes([0xFF, 0xFB, 0x14, 0]) + bytes(92)) * ((255 << 20) // 96))' \
        >"$game/data/huge.mp3" || fail "the MP3 was not made"
    printf '[SOUND FILE="{BASE}huge.mp3"][WAIT TIME="100000"]' >"$game/data/index.txt"
    # An audio device of its own: without one no sound is even opened.
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy QUILTOR_TEST_CLOSE_AFTER_FRAMES=30 "$game/quiltor" 2>"$log" &
    pid=$!
    peak=0
    while kill -0 "$pid" 2>/dev/null; do
        kb=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status" 2>/dev/null)
        [ -n "$kb" ] && peak=$kb
        sleep 0.1
    done
    expect_exit "$pid" 0 "the player"
    children_times
    [ "$peak" -lt $((1024 * 1024)) ] || fail "the player held $peak kB"
    [ "$children_ms" -lt 10000 ] || fail "the player took $children_ms ms of processor time"
    ;;
huge-archive)
    # A data.dat whose count claims a table filling its 40 GiB of holes: the
    # look-up of the volume sample, missing, at start refuses it by its count,
    # with one line, and SIGTERM then ends the player. Judged by processor
    # time: the table's walk took minutes of it, and no signal stopped it.
    game_copy "huge-archive"
    rm "$game/data/sound/ほてぴら.mp3"
    printf 'kivopack\377\377\377\077' >"$game/data.dat"
    truncate -s 40G "$game/data.dat" || fail "no file of holes"
    children_times
    started=$children_ms
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$game/quiltor" 2>"$log" &
    pid=$!
    wait_line "アーカイブの目録が大きすぎて使えません"
    term_player
    children_times
    took=$((children_ms - started))
    [ "$took" -lt 10000 ] || fail "took $took ms of processor time"
    said=$(grep -c "^quiltor: .*アーカイブの目録が大きすぎて使えません: .*data.dat は 1073741823 件あり" "$log")
    [ "$said" -eq 1 ] || fail "the archive was said $said times"
    ;;
close-unwritable-options)
    close_with options
    ;;
close-refused-globals)
    close_with globals
    ;;
posted-close)
    SDL_VIDEODRIVER=dummy QUILTOR_TEST_CLOSE_AFTER_FRAMES=10 timeout 30 "$player" 2>"$log"
    code=$?
    [ "$code" -eq 0 ] || fail "posted close ended with $code"
    ;;
signals)
    signal_after_start TERM
    signal_after_start INT
    ;;
second-instance)
    # The first holds its start-up between the single-instance test and its
    # application thread; a second started meanwhile must end at once.
    SDL_VIDEODRIVER=dummy QUILTOR_TEST_HOLD_START_MS=3000 QUILTOR_TEST_CLOSE_AFTER_FRAMES=300 \
        "$player" 2>"$log.first" &
    first=$!
    sleep 1
    SDL_VIDEODRIVER=dummy QUILTOR_TEST_CLOSE_AFTER_FRAMES=3000 timeout 10 "$player" 2>"$log.second"
    code=$?
    [ "$code" -eq 0 ] || fail "second instance ended with $code"
    grep -q "他のインスタンスが起動中" "$log.second" || fail "second instance was not refused"
    # Once the first's start-up is over (its first frame, and a second at
    # least), another start is not refused.
    sleep 5
    SDL_VIDEODRIVER=dummy QUILTOR_TEST_CLOSE_AFTER_FRAMES=5 timeout 30 "$player" 2>"$log.third"
    code=$?
    [ "$code" -eq 0 ] || fail "third instance ended with $code"
    grep -q "他のインスタンスが起動中" "$log.third" && fail "a start after the start-up was refused"
    expect_exit "$first" 0 "first instance"
    ;;
simultaneous)
    # Two players started together in one game folder: exactly one runs.
    for try in 1 2 3 4 5; do
        SDL_VIDEODRIVER=dummy QUILTOR_TEST_CLOSE_AFTER_FRAMES=90 timeout 30 "$player" 2>"$log.a$try" &
        a=$!
        SDL_VIDEODRIVER=dummy QUILTOR_TEST_CLOSE_AFTER_FRAMES=90 timeout 30 "$player" 2>"$log.b$try" &
        b=$!
        expect_exit "$a" 0 "first of try $try"
        expect_exit "$b" 0 "second of try $try"
        refused=$(cat "$log.a$try" "$log.b$try" | grep -c "他のインスタンスが起動中")
        [ "$refused" -eq 1 ] || fail "try $try: $refused of the two were refused"
    done
    ;;
foreign-folder)
    # A game under a folder whose name has no Shift-JIS form reads its scripts
    # and writes its options like any other.
    game_copy "José-Łukasz-🎮"
    rm -f "$game/system/option.qsd"
    SDL_VIDEODRIVER=dummy QUILTOR_TEST_CLOSE_AFTER_FRAMES=60 timeout 60 "$game/quiltor" 2>"$log"
    code=$?
    [ "$code" -eq 0 ] || fail "ended with $code"
    grep -q "開けません\|スクリプトエラー" "$log" && fail "a file of the game could not be opened"
    [ -s "$game/system/option.qsd" ] || fail "the options were not written"
    ;;
linked-player)
    # A symbolic link to the player placed in a game folder plays that game:
    # its options are written there, not beside the player linked to.
    game_copy "linked"
    rm -f "$game/quiltor" "$game/system/option.qsd"
    ln -s "$player" "$game/quiltor"
    SDL_VIDEODRIVER=dummy QUILTOR_TEST_CLOSE_AFTER_FRAMES=30 timeout 60 "$game/quiltor" 2>"$log"
    code=$?
    [ "$code" -eq 0 ] || fail "ended with $code"
    [ -s "$game/system/option.qsd" ] || fail "the options were not written in the link's game folder"
    ;;
fifo)
    # A FIFO as the start script and as the options file neither blocks the
    # player nor is written through: it says the start script cannot be opened
    # and waits in that box, which ends with the player at a signal.
    game_copy "fifo"
    rm -f "$game/data/index.txt" "$game/system/option.qsd"
    mkfifo "$game/data/index.txt" "$game/system/option.qsd"
    SDL_VIDEODRIVER=dummy timeout 30 "$game/quiltor" 2>"$log" &
    pid=$!
    wait_line "index.txt cannot be opened"
    term_player
    grep -q "index.txt cannot be opened" "$log" || fail "nothing said of the start script"
    [ -p "$game/data/index.txt" ] && [ -p "$game/system/option.qsd" ] || fail "a FIFO was replaced"
    ;;
no-display)
    children_times
    started=$children_ms
    env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER ASAN_OPTIONS=detect_leaks=0 timeout 20 "$player" 2>"$log"
    code=$?
    children_times
    took=$((children_ms - started))
    [ "$code" -ne 0 ] && [ "$code" -ne 124 ] || fail "ended with $code"
    grep -q "no display could be opened: ." "$log" || fail "no plain message"
    [ "$took" -lt 3000 ] || fail "took $took ms of processor time"
    ;;
xvfb)
    for tool in Xvfb xauth xwininfo; do command -v "$tool" >/dev/null || exit 77; done
    # libdbus, which SDL's X11 driver loads, keeps a buffer to the end.
    export LSAN_OPTIONS="suppressions=$here/lsan-x11.supp"
    # SDL's OpenGL renderer loads Mesa, whose allocations outlive its unloading.
    export SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0
    timeout 120 sh "$here/in-xvfb.sh" 1280x1024x24 sh "$here/quiltor-xvfb.sh" "$player" >"$log" 2>&1
    code=$?
    [ "$code" -eq 0 ] || fail "under Xvfb: $code"
    ;;
*)
    echo "unknown scenario $scenario"
    exit 1
    ;;
esac
exit 0
