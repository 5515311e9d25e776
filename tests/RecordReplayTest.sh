#!/usr/bin/env bash
# A game played in English (language = en in the player's settings) in a real
# X window with --record, --trace and --calls, with real key presses (XTEST,
# through xdotool), replayed headless by anagura-replay --lang en from the
# recording alone, gives the same state trace and the same call trace frame for
# frame; the call trace holds start-up and every frame, and English words and
# pictures where the Japanese ones stand. The game's decide key is moved to
# Return by anagura-keys first, so the replay must take the keys from the
# recording (the data folder it is given keeps Z).
set -u
build="$1"
src="$2"
source "$(dirname "$0")/ProgramTest.bash"
require_x_window

work="$(mktemp -d)"
game=""
cleanup() {
  [ -z "$game" ] || kill "$game" 2> /dev/null
  rm -rf "$work"
  rm -f "${XDG_RUNTIME_DIR:-/nonexistent}/$ANAGURA_INSTANCE_LOCK.lock" "/tmp/$ANAGURA_INSTANCE_LOCK-$(id -u).lock"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; cat "$work/out" 2> /dev/null; head -c 2000 "$work/game.rec" 2> /dev/null; exit 1; }

export ANAGURA_INSTANCE_LOCK="anagura-record-test-$$"
export HOME="$work/home"
unset XDG_CONFIG_HOME XDG_DATA_HOME
mkdir -p "$HOME/.config/anagura" "$work/data"
echo "language = en" > "$HOME/.config/anagura/settings.ini"
for sub in image sound fonts; do ln -s "$src/assets/$sub" "$work/data/$sub"; done
cp -r "$src/assets/Data" "$work/data/Data"
"$build/anagura-keys" --data "$work/data" set decide=Return > /dev/null || fail "anagura-keys could not set decide=Return"

# SDL's dummy sound device: the sounds load as in the replay, which has no device either.
(cd "$work/data" && SDL_AUDIODRIVER=dummy exec "$build/anagura" --record ../game.rec --trace ../game.jsonl --calls ../calls.jsonl) > "$work/out" 2>&1 &
game=$!
wait_until "end of the start-up" start_up_done "$work/data/Log.txt"
wait_for_window "$game"
xdotool windowfocus --sync "$window" 2> /dev/null || xdotool windowfocus "$window"

# Each key is held for several frames, then the game is given time to act.
press() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; sleep "$2"; }
sleep 1.5              # the title waits for the decide key after its opening fade
press Return 2.5       # start a game
press Down 0.3         # the command menu: the second command (hunt)
press Return 0.5
press Return 2.5       # the colour to send; the day ends
press Right 0.3        # the rest command
press Down 0.3
for _ in 1 2 3 4; do   # rest, day after day
  press Return 1.2
done
press Escape 0
for _ in $(seq 1 100); do kill -0 "$game" 2> /dev/null || break; sleep 0.1; done
kill -0 "$game" 2> /dev/null && fail "the game did not end after Escape"
wait "$game"
status=$?
game=""
[ "$status" -eq 0 ] || fail "the game exited with status $status"

head -n 2 "$work/game.rec" | grep -qx "# keys 200 208 205 203 28 45" || fail "the recording lacks the keys in force"
XDG_DATA_HOME="$work" "$build/anagura-replay" --data "$src/assets" --lang en --input "$work/game.rec" --trace "$work/replay.jsonl" \
  --calls "$work/replay-calls.jsonl" > "$work/out" 2>&1 || fail "the replay failed"
cmp "$work/game.jsonl" "$work/replay.jsonl" > "$work/cmp" 2>&1 ||
  fail "the replayed trace differs from the played one: $(cat "$work/cmp")"
cmp "$work/calls.jsonl" "$work/replay-calls.jsonl" > "$work/cmp" 2>&1 ||
  fail "the replayed call trace differs from the played one: $(cat "$work/cmp")"
for english in '"image/en/PushZkey.bmp"' '"Hunt"' '"Rest"'; do
  grep -qF "$english" "$work/calls.jsonl" || fail "the game did not show $english"
done
grep -qF '"きゅうけい"' "$work/calls.jsonl" && fail "a Japanese word was drawn"
frames=$(wc -l < "$work/game.jsonl")
[ "$(wc -l < "$work/calls.jsonl")" -eq $((frames + 1)) ] || fail "the call trace does not hold frames 0 to $frames"
head -c 60 "$work/calls.jsonl" | grep -qF '{"frame":0,"calls":[["SetScreenMode",160,120,16,60,0]' ||
  fail "the call trace does not start with start-up"
grep -q '"scene":"game"' "$work/game.jsonl" || fail "the game scene was never reached"
grep -Eq '"orders":\[[^a-z]*\[[1-9]' "$work/game.jsonl" || fail "no order was given"
grep -q '"day":[2-9]' "$work/game.jsonl" || fail "no day went by"
echo "PASS: $frames frames played in the window and replayed headless from the recording, identical"
