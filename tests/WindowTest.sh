#!/usr/bin/env bash
# The real program in a real X window (run under Xvfb by scripts/test.sh):
# it starts and logs its start-up; a second copy started in the same folder with
# the same lock and files refuses to start without disturbing the first, its
# Log.txt, recording or traces;
# and a real Escape key press (XTEST, through xdotool) ends the first within 2 seconds.
set -u
build="$1"
src="$2"
source "$(dirname "$0")/ProgramTest.bash"
require_x_window

work="$(mktemp -d)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2> /dev/null || true; done
  rm -rf "$work"
  rm -f "${XDG_RUNTIME_DIR:-/nonexistent}/$ANAGURA_INSTANCE_LOCK.lock" "/tmp/$ANAGURA_INSTANCE_LOCK-$(id -u).lock"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; for f in "$work"/*/Log.txt; do echo "--- $f"; iconv -f CP932 -t UTF-8 "$f" 2>/dev/null; echo; done; exit 1; }

export ANAGURA_INSTANCE_LOCK="anagura-window-test-$$"
mkdir -p "$work/first"
for sub in image sound Data fonts; do ln -s "$src/assets/$sub" "$work/first/$sub"; done

# First copy: wait for the end of its start-up (frame period logged) without
# touching the X server, then look for its window.
outputs=(--record ../g.rec --trace ../g.jsonl --calls ../c.jsonl)
(cd "$work/first" && exec "$build/anagura" "${outputs[@]}") > "$work/first.out" 2>&1 &
first=$!
pids+=("$first")
game=$first wait_until "end of the start-up" start_up_done "$work/first/Log.txt"
game=$first wait_for_window "$first"

log="$work/first/Log.txt"
log_has "$log" "ChangeWindowMode実行 " || fail "Log.txt lacks the ChangeWindowMode line"
log_has "$log" "ソフトの二重起動検査... " || fail "Log.txt lacks the instance check"
log_has "$log" "二重起動はされていませんでした" || fail "Log.txt lacks the instance result"

# Second copy, same folder: refuses to start, says so on stderr, exits with a
# failure status, and leaves the first copy's log as it was.
kept() { cmp -s "$2" <(head -c "$(stat -c %s "$2")" "$1"); }
for f in "$log" "$work/g.rec" "$work/g.jsonl"; do cp "$f" "$f.before"; done
(cd "$work/first" && exec timeout 20 "$build/anagura" "${outputs[@]}") > "$work/second.out" 2>&1
status=$?
[ "$status" -ne 0 ] || fail "the second copy exited with status 0"
[ "$status" -ne 124 ] || fail "the second copy did not end"
grep -q "another copy" "$work/second.out" || fail "the second copy printed no message"
kill -0 "$first" 2> /dev/null || fail "the first copy ended when the second started"
for f in "$log" "$work/g.rec" "$work/g.jsonl"; do kept "$f" "$f.before" || fail "the second copy overwrote $f"; done
log_has "$log" "二重起動されています、ソフトを終了します" && fail "the second copy wrote into the first copy's Log.txt"

# Escape through XTEST to the focused window.
xdotool windowfocus --sync "$window" 2> /dev/null || xdotool windowfocus "$window"
start=$(date +%s%N)
xdotool key Escape
ended=0
while [ $(( ($(date +%s%N) - start) / 1000000 )) -lt 2000 ]; do
  if ! kill -0 "$first" 2> /dev/null; then ended=1; break; fi
  sleep 0.02
done
[ "$ended" -eq 1 ] || fail "the program did not end within 2 s of Escape"
wait "$first"
status=$?
[ "$status" -eq 0 ] || fail "the program exited with status $status after Escape"
echo "PASS: window shown, second copy refused, Escape ended the program in $(( ($(date +%s%N) - start) / 1000000 )) ms"
