#!/usr/bin/env bash
# Without a display, as on a machine with no desktop session (no DISPLAY, no
# WAYLAND_DISPLAY, SDL left to choose its drivers), the program ends within 2 s
# with a clear message on stderr and in Log.txt and a failure status; it never
# runs on without a window. A start right after it is not taken for a second copy.
set -u
build="$1"
src="$2"
work="$(mktemp -d)"
lock="anagura-nodisplay-test-$$"
trap 'rm -rf "$work"; rm -f "/tmp/$lock-$(id -u).lock" "${XDG_RUNTIME_DIR:-/nonexistent}/$lock.lock"' EXIT
for sub in image sound Data fonts; do ln -s "$src/assets/$sub" "$work/$sub"; done
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

run() {
  (cd "$work" && exec env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER \
    ANAGURA_INSTANCE_LOCK="$lock" timeout 20 "$build/anagura") > "$work/out$1" 2>&1
}

begin=$(date +%s%N)
run 1
status=$?
took=$(( ($(date +%s%N) - begin) / 1000000 ))
cat "$work/out1"
[ "$status" -ne 0 ] || { echo "FAIL: exit status 0 without a display"; exit 1; }
[ "$status" -ne 124 ] || { echo "FAIL: the program did not end"; exit 1; }
[ "$status" -lt 128 ] || { echo "FAIL: the program died of signal $((status - 128))"; exit 1; }
[ "$took" -le 2000 ] || { echo "FAIL: the program took $took ms to give up"; exit 1; }
grep -q "cannot open the window" "$work/out1" || { echo "FAIL: no message on stderr"; exit 1; }
grep -qF -- "$(printf '%s' 'ウインドウの作成に失敗しました' | iconv -f UTF-8 -t CP932)" "$work/Log.txt" ||
  { echo "FAIL: Log.txt lacks the window failure line"; exit 1; }

run 2
grep -q "another copy" "$work/out2" && { echo "FAIL: the next start was refused as a second copy"; exit 1; }
grep -q "cannot open the window" "$work/out2" || { echo "FAIL: the next start did not fail the same way"; exit 1; }
echo "PASS: status $status after $took ms, message shown, the next start not refused"
