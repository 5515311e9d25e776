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
for tool in Xvfb xdotool flock; do
  command -v "$tool" > /dev/null || { echo "SKIP: $tool is not installed"; exit 0; }
done

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
# In a sanitizer build the real window pulls in libdbus and the GL driver, whose
# allocations still live at exit; leaks are checked by the headless unit tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
export ANAGURA_INSTANCE_LOCK="$lock"
unset WAYLAND_DISPLAY SDL_VIDEODRIVER

# A free display number; Xvfb refuses one that another server took meanwhile.
for n in $(seq 140 199); do
  if [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; then continue; fi
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp > /dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    kill -0 "$xvfb" 2> /dev/null || break
    sleep 0.05
  done
  if [ -e "/tmp/.X11-unix/X$n" ] && kill -0 "$xvfb" 2> /dev/null; then export DISPLAY=":$n"; break; fi
  xvfb=""
done
[ -n "$xvfb" ] || fail "no X server could be started"

sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }
started() {
  grep -qF -- "$(sjis 'msecです')" "$work/Log.txt" 2> /dev/null ||
    grep -qF -- "$(sjis '１フレームの時間を正常に取得できませんでした')" "$work/Log.txt" 2> /dev/null
}
# Starts the program and waits, without touching the X server, for the end of
# its start-up (the frame period is logged once the window is up).
start_game() {
  rm -f "$work/Log.txt"
  xdotool getdisplaygeometry > /dev/null   # the server resets as this client leaves
  (cd "$work" && exec "$build/anagura") > "$work/out" 2>&1 &
  game=$!
  for _ in $(seq 1 400); do
    started && return 0
    kill -0 "$game" 2> /dev/null || fail "start $1: the program ended by itself"
    sleep 0.05
  done
  fail "start $1: the start-up did not finish within 20 s"
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
