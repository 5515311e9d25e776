#!/usr/bin/env bash
# The player's window in a real X window (run under Xvfb by scripts/test.sh),
# with real key presses (XTEST, through xdotool): --scale 3 opens 480 x 360;
# F11 switches fullscreen and back and the settings file follows; a window the
# player resizes keeps its whole multiple in the settings file, which the next
# start opens with; F12 saves the picture at 1x and at the window's multiple.
set -u
build="$1"
src="$2"
source "$(dirname "$0")/ProgramTest.bash"
require_x_window

work="$(mktemp -d)"
pid=""
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2> /dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "--- settings.ini"; cat "$settings" 2> /dev/null; echo "--- stderr"; cat "$work/out" 2> /dev/null; exit 1; }

export ANAGURA_INSTANCE_LOCK="anagura-player-window-test-$$"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config"
settings="$work/config/anagura/settings.ini"
mkdir -p "$work/data" "$HOME"
for sub in image sound Data fonts; do ln -s "$src/assets/$sub" "$work/data/$sub"; done

# Starts the game with the given options and waits for its window; sets $pid and $window.
start() {
  (cd "$work/data" && exec "$build/anagura" "$@") > "$work/out" 2>&1 &
  pid=$!
  game=$pid wait_for_window "$pid"
  xdotool windowfocus --sync "$window" 2> /dev/null || xdotool windowfocus "$window"
}
size() { xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p'; }
# Waits up to 5 s for the settings file to hold the line "$1".
wait_setting() {
  for _ in $(seq 1 50); do
    grep -qx -- "$1" "$settings" 2> /dev/null && return 0
    sleep 0.1
  done
  fail "settings.ini never held \"$1\""
}
quit() {
  xdotool key Escape
  wait "$pid"
  local status=$?
  pid=""
  [ "$status" -eq 0 ] || fail "the game exited with status $status"
}

start --scale 3
[ "$(size)" = "480x360" ] || fail "--scale 3 opened $(size)"
[ -e "$settings" ] && fail "settings.ini was written before the player changed anything"
xdotool key F11
wait_setting "fullscreen = 1"
xdotool key F11
wait_setting "fullscreen = 0"
[ "$(size)" = "480x360" ] || fail "back from fullscreen the window is $(size)"
grep -q "^scale" "$settings" && fail "a scale was written though the player changed none"
xdotool windowsize "$window" 820 630
wait_setting "scale = 5"
quit

start
[ "$(size)" = "800x600" ] || fail "the saved scale 5 opened $(size)"
xdotool key F12
for _ in $(seq 1 50); do
  [ "$(ls "$work/data/screenshots" 2> /dev/null | wc -l)" -eq 2 ] && break
  sleep 0.1
done
ls "$work/data/screenshots" | grep -qx 'anagura-[0-9]\{8\}-[0-9]\{6\}.png' || fail "F12 wrote no 1x screenshot"
ls "$work/data/screenshots" | grep -qx 'anagura-[0-9]\{8\}-[0-9]\{6\}-x5.png' || fail "F12 wrote no 5x screenshot"
quit
grep -q "[0-9]:Screenshot .*anagura-.*\.png and, at 5x," "$work/data/Log.txt" || fail "Log.txt does not name the screenshot"
echo "PASS: --scale, F11 both ways and a resized window kept in settings.ini; F12 screenshots at 1x and 5x"
