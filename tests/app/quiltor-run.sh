#!/bin/sh
# Runs the real player without a display in one scenario:
# quiltor-run.sh <scenario> <path to quiltor>
# Exit 0 when the scenario holds, else 1.
set -u
scenario=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb-kit.sh"

begin "$2" "$scenario"
export SDL_VIDEODRIVER=dummy
game=$work/game
copy_demo "$game"

# Under ERROR 1 the player stops at a click wait with a file the close must
# not overwrite, as it could not read it; SIGTERM then ends it, with the
# resume save made and the file said on stderr.
close_with() { # what to break: options or globals
    printf '[SYSTEM CONTROL="ERROR" NAME="1"][C][WAIT TIME="100000"][WAIT TIME="100000"]' >"$game/data/index.txt"
    case $1 in
    options) mkdir "$game/system/option.qsd" ;;
    # Over its bound: refused unread, so never written over.
    globals) mkdir -p "$game/Save" && truncate -s 65M "$game/Save/index.g" ;;
    esac
    start "$game"
    await in_play || status=1
    stop term SIGTERM
    [ -s "$game/Save/index.a" ] || fail "no resume save"
    case $1 in
    options) said "設定のファイルを上書きせずに残します.*option.qsd" || status=1 ;;
    globals) said "グローバル変数.*index.g" || status=1 ;;
    esac
}

case $scenario in
huge-sound)
    # A SOUND of a 255 MiB MP3 of silent frames, within the bound of a sound
    # read into memory: some 12 GB of PCM, which plays streamed, so the player
    # reaches the next tag and closes by itself, under 1 GiB all along (held
    # whole, it would not be).
    python3 -c 'import sys; sys.stdout.buffer.write((bytes([0xFF, 0xFB, 0x14, 0]) + bytes(92)) * ((255 << 20) // 96))' \
        >"$game/data/huge.mp3" || fail "the MP3 was not made"
    printf '[SOUND FILE="{BASE}huge.mp3"][WAIT TIME="100000"]' >"$game/data/index.txt"
    # An audio device of its own: without one no sound is even opened.
    start "$game" SDL_AUDIODRIVER=dummy QUILTOR_TEST_CLOSE_AFTER_FRAMES=30
    stop none "the player"
    [ "$player_kb" -lt $((1024 * 1024)) ] || fail "the player held $player_kb kB"
    ;;
huge-archive)
    # A data.dat whose count claims a table filling its 40 GiB of holes: the
    # look-up of the volume sample, missing, at start refuses it by its count,
    # with one line, and SIGTERM then ends the player within the 3 s of every
    # close. The table's walk took minutes, and no signal stopped it.
    rm "$game/data/sound/ほてぴら.mp3"
    printf 'kivopack\377\377\377\077' >"$game/data.dat"
    truncate -s 40G "$game/data.dat" || fail "no file of holes"
    start "$game" SDL_AUDIODRIVER=dummy
    await said "アーカイブの目録が大きすぎて使えません" || status=1
    stop term SIGTERM
    count=$(grep -c "^quiltor: .*アーカイブの目録が大きすぎて使えません: .*data.dat は 1073741823 件あり" "$log")
    [ "$count" -eq 1 ] || fail "the archive was said $count times"
    ;;
close-unwritable-options)
    close_with options
    ;;
close-refused-globals)
    close_with globals
    ;;
posted-close)
    start "$game" QUILTOR_TEST_CLOSE_AFTER_FRAMES=10
    stop none "posted close"
    ;;
signals)
    # Each signal once the player is past its start-up, SIGHUP as a closed
    # terminal sends it, whatever this shell was started with.
    for signal in term int hup; do
        start "$game" --default-signal=HUP
        await in_play || status=1
        handles SigIgn 13 || fail "a closed pipe on stderr would kill the player"
        stop "$signal" "SIG$signal"
    done
    # Started by nohup, it leaves SIGHUP ignored.
    start "$game" --ignore-signal=HUP
    await in_play || status=1
    handles SigIgn 1 || fail "a player started by nohup does not ignore SIGHUP"
    stop term "the player started by nohup"
    ;;
second-instance)
    # The first holds its start-up between the single-instance test and its
    # application thread; a second started meanwhile must end at once.
    start "$game" QUILTOR_TEST_HOLD_START_MS=3000
    first=$pid
    await catches_term || status=1
    holds_lock || fail "the first instance holds no lock"
    start "$game" QUILTOR_TEST_CLOSE_AFTER_FRAMES=3000
    stop none "the second instance"
    said "他のインスタンスが起動中" || fail "the second instance was not refused"
    # Once the first's start-up is over (its first frame, and a second at
    # least), another start is not refused.
    pid=$first
    await in_play || status=1
    start "$game" QUILTOR_TEST_CLOSE_AFTER_FRAMES=5
    stop none "the third instance"
    ! grep -q "他のインスタンスが起動中" "$log" || fail "a start after the start-up was refused"
    pid=$first
    stop term "the first instance"
    ;;
simultaneous)
    # Two players started together in one game folder: exactly one runs.
    for try in 1 2 3 4 5; do
        start "$game" QUILTOR_TEST_CLOSE_AFTER_FRAMES=90
        first=$pid
        first_log=$log
        start "$game" QUILTOR_TEST_CLOSE_AFTER_FRAMES=90
        stop none "the second of try $try"
        pid=$first
        stop none "the first of try $try"
        refused=$(cat "$first_log" "$log" | grep -c "他のインスタンスが起動中")
        [ "$refused" -eq 1 ] || fail "try $try: $refused of the two were refused"
    done
    ;;
foreign-folder)
    # A game under a folder whose name has no Shift-JIS form reads its scripts
    # and writes its options like any other.
    mv "$game" "$work/José-Łukasz-🎮" || exit 1
    game=$work/José-Łukasz-🎮
    start "$game" QUILTOR_TEST_CLOSE_AFTER_FRAMES=60
    stop none "the player"
    ! grep -q "開けません\|スクリプトエラー" "$log" || fail "a file of the game could not be opened"
    [ -s "$game/system/option.qsd" ] || fail "the options were not written"
    ;;
linked-player)
    # A symbolic link to the player placed in a game folder plays that game:
    # its options are written there, not beside the player linked to.
    rm -f "$game/quiltor"
    ln -s "$player" "$game/quiltor"
    start "$game" QUILTOR_TEST_CLOSE_AFTER_FRAMES=30
    stop none "the player"
    [ -s "$game/system/option.qsd" ] || fail "the options were not written in the link's game folder"
    ;;
fifo)
    # A FIFO as the start script and as the options file neither blocks the
    # player nor is written through: it says the start script cannot be opened
    # and waits in that box, which ends with the player at a signal.
    rm -f "$game/data/index.txt"
    mkfifo "$game/data/index.txt" "$game/system/option.qsd"
    start "$game"
    await said "index.txt cannot be opened" || status=1
    stop term SIGTERM
    [ -p "$game/data/index.txt" ] && [ -p "$game/system/option.qsd" ] || fail "a FIFO was replaced"
    ;;
no-display)
    # It says so and fails at once: within 3 s of its start, as a close.
    start "$game" -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER ASAN_OPTIONS=detect_leaks=0
    stop none "without a display" 1
    said "no display could be opened: ." || status=1
    [ "$took" -ge 0 ] && [ "$took" -lt "$within" ] || fail "failed after $took_how"
    ;;
close-count)
    # The kit's count of a close, on a child that spends a second of processor
    # time or sleeps one: either counts whole, in any build; only a wait for a
    # processor is left out, as the spin's beside a busy loop on its own.
    mkdir "$work/child" || exit 1
    printf '%s\n' '#!/bin/sh' '[ "$HOW" = sleep ] && exec sleep 1' \
        'exec ${CPU:+taskset -c $CPU} python3 -c "import time
while time.process_time() < 1: pass"' >"$work/child/quiltor"
    chmod +x "$work/child/quiltor"
    cpu=$(python3 -c 'import os; print(min(os.sched_getaffinity(0)))')
    for how in spin sleep beside; do
        busy=
        if [ "$how" = beside ]; then
            timeout 10 taskset -c "$cpu" sh -c 'while :; do :; done' &
            busy=$!
        fi
        start "$work/child" HOW=$how CPU=${busy:+$cpu}
        stop none "the $how"
        [ -z "$busy" ] || kill "$busy"
        [ "$took" -ge 900 ] || fail "a second's $how counted $took_how"
    done
    [ "$took" -lt 1500 ] || fail "beside a busy loop, $took_how"
    ;;
*)
    fail "unknown scenario $scenario"
    ;;
esac
exit $status
