#!/bin/sh
# Runs a command in an X server of its own and ends with the command's code:
# in-xvfb.sh <width>x<height>x<depth> <command>...
# The server picks a free display itself and names it once it takes clients:
# a number chosen by a look at the lock files can be chosen by another test
# at once. It never resets: a reset, when its last client leaves, refuses the
# client that connects meanwhile (the next player a scenario starts). The
# command has DISPLAY, and XAUTHORITY with the server's cookie.
set -u
screen=$1
shift
folder=$(mktemp -d) || exit 1
server=
command=
stop() {
    [ -z "$command" ] || kill "$command" 2>/dev/null
    [ -z "$server" ] || { kill "$server" 2>/dev/null; wait "$server"; }
    rm -rf "$folder"
}
trap stop EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

XAUTHORITY=$folder/auth
export XAUTHORITY
: >"$XAUTHORITY"
cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
# The server takes every cookie of its file, whatever display it is filed
# under; a client looks for the display's own.
xauth -q add :0 . "$cookie" || exit 1
mkfifo "$folder/display" || exit 1
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset -auth "$XAUTHORITY" \
    3>"$folder/display" >"$folder/server.log" 2>&1 &
server=$!
# Written once the server takes clients; nothing when it could not start.
read -r number <"$folder/display"
[ -n "${number:-}" ] || { echo "Xvfb did not start:"; cat "$folder/server.log"; exit 1; }
xauth -q add ":$number" . "$cookie" || exit 1
DISPLAY=:$number
export DISPLAY

# In the background, so that a signal to this script ends it and the server.
"$@" &
command=$!
wait "$command"
code=$?
command=
exit "$code"
