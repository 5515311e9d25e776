#!/usr/bin/env bash
# The real program on an X server of its own, set up as on a player's machine:
# a plain Xvfb (it resets whenever its last client leaves) with the program as
# its only client during start-up. Ten starts in a row, each just after another
# client left (as after a launcher script's xset), each show a window; and
# when the server goes away under the running program, the program ends at once
# with a message, a failure status and its single-instance lock released.
set -u
build="$1"
src="$2"
source "$(dirname "$0")/ProgramTest.bash"
require_own_x_server
require_tools flock

work="$(mktemp -d)"
lock="anagura-plainx-test-$$"
lockfiles=("${XDG_RUNTIME_DIR:-/nonexistent}/$lock.lock" "/tmp/$lock-$(id -u).lock")
xvfb=""
game=""
cleanup() {
  [ -z "$game" ] || kill "$game" 2> /dev/null
  [ -z "$xvfb" ] || kill "$xvfb" 2> /dev/null
  rm -rf "$work"
  rm -f "${lockfiles[@]}"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; cat "$work/out" 2> /dev/null; iconv -f CP932 -t UTF-8 "$work/Log.txt" 2> /dev/null; echo; exit 1; }

for sub in image sound Data fonts; do ln -s "$src/assets/$sub" "$work/$sub"; done
export ANAGURA_INSTANCE_LOCK="$lock"
unset WAYLAND_DISPLAY SDL_VIDEODRIVER

mkdir -p "$work/x"   # the server's own files, out of the game's folder
start_xvfb "$work/x" || fail "no X server could be started"

# Starts the program and waits, without touching the X server, for the end of
# its start-up (the frame period is logged once the window is up).
start_game() {
  rm -f "$work/Log.txt"
  xdotool getdisplaygeometry > /dev/null   # the server resets as this client leaves
  (cd "$work" && exec "$build/anagura") > "$work/out" 2>&1 &
  game=$!
  wait_until "end of start $1" start_up_done "$work/Log.txt"
}

for i in $(seq 1 10); do
  start_game "$i"
  xdotool search --onlyvisible --pid "$game" > /dev/null 2>&1 || fail "start $i: no window shown"
  kill -TERM "$game"   # a close request, like the window's close button
  wait "$game"
  status=$?
  game=""
  [ "$status" -eq 0 ] || fail "start $i: exit status $status after a close request"
done

start_game lost
kill "$xvfb"
wait "$xvfb" 2> /dev/null
xvfb=""
begin=$(date +%s%N)
while kill -0 "$game" 2> /dev/null && [ $(( ($(date +%s%N) - begin) / 1000000 )) -lt 2000 ]; do sleep 0.02; done
kill -0 "$game" 2> /dev/null && fail "the program still runs 2 s after its X server went away"
wait "$game"
status=$?
game=""
[ "$status" -ne 0 ] && [ "$status" -lt 128 ] || fail "exit status $status after the X server went away"
grep -q "lost the connection to the display" "$work/out" || fail "no message on stderr"
grep -q "The connection to the display .* was lost" "$work/Log.txt" || fail "no line in Log.txt"
for f in "${lockfiles[@]}"; do
  [ ! -e "$f" ] || flock -n "$f" true || fail "the single-instance lock is still held"
done
echo "PASS: 10 of 10 starts showed a window; a lost X server ended the program (status $status)"
