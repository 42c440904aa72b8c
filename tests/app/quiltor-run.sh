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
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
export QUILTOR_LOG=1
log=$XDG_RUNTIME_DIR/log

fail() { echo "FAIL: $*"; cat "$log"* 2>/dev/null; exit 1; }

# Waits for a process and checks its exit code.
expect_exit() { # pid code what
    wait "$1"
    code=$?
    [ "$code" -eq "$2" ] || fail "$3 ended with $code"
}

# Sends a signal once the player has run a while, then expects a clean end.
signal_after_start() { # signal
    SDL_VIDEODRIVER=dummy "$player" 2>"$log" &
    pid=$!
    sleep 1
    kill -"$1" "$pid"
    expect_exit "$pid" 0 "SIG$1"
}

case $scenario in
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
    SDL_VIDEODRIVER=dummy QUILTOR_TEST_HOLD_START_MS=3000 QUILTOR_TEST_CLOSE_AFTER_FRAMES=60 \
        "$player" 2>"$log.first" &
    first=$!
    sleep 1
    SDL_VIDEODRIVER=dummy QUILTOR_TEST_CLOSE_AFTER_FRAMES=3000 timeout 10 "$player" 2>"$log.second"
    code=$?
    [ "$code" -eq 0 ] || fail "second instance ended with $code"
    grep -q "他のインスタンスが起動中" "$log.second" || fail "second instance was not refused"
    # Once the first runs its application thread, another start is not refused.
    sleep 3
    SDL_VIDEODRIVER=dummy QUILTOR_TEST_CLOSE_AFTER_FRAMES=5 timeout 30 "$player" 2>"$log.third"
    code=$?
    [ "$code" -eq 0 ] || fail "third instance ended with $code"
    grep -q "他のインスタンスが起動中" "$log.third" && fail "a start after the start-up was refused"
    expect_exit "$first" 0 "first instance"
    ;;
xvfb)
    command -v xvfb-run >/dev/null && command -v xwininfo >/dev/null || exit 77
    # libdbus, which SDL's X11 driver loads, keeps a buffer to the end.
    export LSAN_OPTIONS="suppressions=$here/lsan-x11.supp"
    # SDL's OpenGL renderer loads Mesa, whose allocations outlive its unloading.
    export SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0
    timeout 120 xvfb-run -a sh "$here/quiltor-xvfb.sh" "$player" >"$log" 2>&1
    code=$?
    [ "$code" -eq 0 ] || fail "under Xvfb: $code"
    ;;
*)
    echo "unknown scenario $scenario"
    exit 1
    ;;
esac
exit 0
