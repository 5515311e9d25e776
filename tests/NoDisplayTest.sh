#!/usr/bin/env bash
# Without a display the program ends at once with a clear message on stderr and
# in Log.txt and a failure status; it never crashes or loops without a window.
set -u
build="$1"
src="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
ln -s "$src/assets/Data" "$work/Data"

(cd "$work" && exec env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy \
  ANAGURA_INSTANCE_LOCK="anagura-nodisplay-test-$$" timeout 20 "$build/anagura") > "$work/out" 2>&1
status=$?
cat "$work/out"
[ "$status" -ne 0 ] || { echo "FAIL: exit status 0 without a display"; exit 1; }
[ "$status" -ne 124 ] || { echo "FAIL: the program did not end"; exit 1; }
[ "$status" -lt 128 ] || { echo "FAIL: the program died of signal $((status - 128))"; exit 1; }
grep -q "cannot open the window" "$work/out" || { echo "FAIL: no message on stderr"; exit 1; }
grep -qF -- "$(printf '%s' 'ウインドウの作成に失敗しました' | iconv -f UTF-8 -t CP932)" "$work/Log.txt" ||
  { echo "FAIL: Log.txt lacks the window failure line"; exit 1; }
echo "PASS: status $status, message shown"
