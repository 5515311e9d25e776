# Sourced by the whole-program tests (tests/*.sh, tests/web/run.sh), by
# scripts/test.sh and by the benchmarks in a real window: how a test that
# cannot run says so, an X server of one's own, and waiting for what a running
# program shows.

# cannot_run REASON: the test cannot run here. Outside CI it is skipped ("SKIP:
# REASON", exit status 77, which CTest counts as skipped, never as passed).
# Under CI=true, where scripts/setup.sh has installed everything, it fails.
cannot_run() {
  if [ "${CI:-}" = true ]; then
    echo "FAIL: cannot run: $1 (CI=true: every test must run)"
    exit 1
  fi
  echo "SKIP: $1"
  exit 77
}

# require_tools TOOL...: cannot_run without one of them.
require_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" > /dev/null || cannot_run "$tool is not installed (bash scripts/setup.sh test package web)"
  done
}

# In a sanitizer build the real window pulls in libdbus and the GL driver, whose
# allocations still live at exit; leaks are checked by the headless unit tests.
real_window_leaks_unchecked() { export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"; }

# require_x_window: the test drives the game's real window on the test
# command's X server ($DISPLAY) with xdotool.
require_x_window() {
  [ -n "${DISPLAY:-}" ] || cannot_run "DISPLAY is not set (scripts/test.sh starts Xvfb)"
  require_tools xdotool
  real_window_leaks_unchecked
}

# require_own_x_server: the test starts X servers of its own (start_xvfb).
require_own_x_server() {
  require_tools Xvfb xdotool
  real_window_leaks_unchecked
}

# start_xvfb FOLDER: a plain Xvfb on a display it finds free (it resets whenever
# its last client leaves, as a player's server may); its pid in $xvfb, DISPLAY
# set to it, its log in FOLDER/xvfb.log. Status 1 when it does not start.
start_xvfb() {
  local named="$1/xvfb.display"
  rm -f "$named"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$named" > "$1/xvfb.log" 2>&1 &
  xvfb=$!
  local _
  for _ in $(seq 1 200); do   # the number is written once the server takes clients
    [ -s "$named" ] && break
    kill -0 "$xvfb" 2> /dev/null || break
    sleep 0.05
  done
  if [ ! -s "$named" ]; then
    echo "$(basename "$0"): Xvfb did not start:" >&2
    cat "$1/xvfb.log" >&2
    kill "$xvfb" 2> /dev/null
    xvfb=""
    return 1
  fi
  export DISPLAY=":$(head -n 1 "$named")"
}

# wait_until WHAT COMMAND...: runs COMMAND until it succeeds, at most
# $wait_seconds (30) seconds; fail()s (the test's own) when the process $game
# ends meanwhile or the time is up.
wait_until() {
  local what="$1" until=$((SECONDS + ${wait_seconds:-30}))
  shift
  while [ "$SECONDS" -le "$until" ]; do
    "$@" && return 0
    kill -0 "$game" 2> /dev/null || fail "the game ended while waiting for: $what"
    sleep 0.02
  done
  fail "no $what within ${wait_seconds:-30} s"
}

sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }
# log_has LOG TEXT: the Shift-JIS log holds TEXT (given in UTF-8).
log_has() { grep -qF -- "$(sjis "$2")" "$1" 2> /dev/null; }

# start_up_done LOG: the game's log shows the end of its start-up (the display's
# frame period, measured once the window is up, or that none could be measured).
start_up_done() { log_has "$1" "msecです" || log_has "$1" "１フレームの時間を正常に取得できませんでした"; }

# window_of PID: the first visible window of the process ("" when none).
window_of() { xdotool search --onlyvisible --pid "$1" 2> /dev/null | head -n 1; }

# wait_for_window PID: waits (wait_until) for a visible window of the process
# and sets $window to it.
wait_for_window() {
  window_shown() { window="$(window_of "$1")" && [ -n "$window" ]; }
  wait_until "a window of process $1" window_shown "$1"
}
