#!/usr/bin/env bash
# The whole state of a run kept and put back in place of the run's own, again
# and again, changes nothing: a random game of the replay tool with
# --keep-state-every traces, calls and shows exactly what it does without
# (its sounds start again from their beginning, so its audio is not compared).
# --write-last-game keeps the game as the game would: its recording reaches the
# last frame, and the state beside it is of that frame.
set -u
build="$1"
src="$2"
source "$src/scripts/random-input.bash"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

mkdir -p "$work/data"
for sub in image sound Data fonts; do ln -s "$src/assets/$sub" "$work/data/$sub"; done
random_input 21 9000 > "$work/input.txt"
replay() {
  "$build/anagura-replay" --data "$work/data" --seed 21 --input "$work/input.txt" --frames 9000 --trace-every 3 \
    "$@" > "$work/out" 2>&1 || fail "anagura-replay $*: $(cat "$work/out")"
}
replay --trace "$work/plain.jsonl" --calls "$work/plain-calls.jsonl" --screenshots "$work/plain" --shot-every 150
replay --trace "$work/kept.jsonl" --calls "$work/kept-calls.jsonl" --screenshots "$work/kept" --shot-every 150 \
  --keep-state-every 41
grep -q '"scene":"game"' "$work/plain.jsonl" || fail "the random game never left the title"
cmp -s "$work/plain.jsonl" "$work/kept.jsonl" || fail "the state trace changed with the state put back"
cmp -s "$work/plain-calls.jsonl" "$work/kept-calls.jsonl" || fail "the call trace changed with the state put back"
diff -r -q "$work/plain" "$work/kept" > /dev/null || fail "the pictures changed with the state put back"

# A kept game after a frame of the game scene: the recording reaches that frame.
frame=$(grep -n '"scene":"game","state":1,' "$work/plain.jsonl" | tail -n 1 | cut -d : -f 1)
frame=$((frame * 3))
replay --frames "$frame" --write-last-game "$work/last.txt"
[ -s "$work/last.state" ] || fail "no state was kept beside $work/last.txt"
tail -n 1 "$work/last.txt" | grep -qx "# frames $frame" || fail "the kept recording does not reach frame $frame"
"$build/anagura-replay" --data "$work/data" --input "$work/last.txt" --trace "$work/again.jsonl" --trace-every 3 \
  > "$work/out" 2>&1 || fail "the kept recording does not replay: $(cat "$work/out")"
cmp -s "$work/again.jsonl" <(head -n $((frame / 3)) "$work/plain.jsonl") ||
  fail "the kept recording does not play the game it was made from"
if "$build/anagura-replay" --data "$work/data" --frames 3 --write-last-game "$work/title.txt" > "$work/out" 2>&1 ||
  [ -e "$work/title.txt" ]; then
  fail "a run ended on the title kept a game"
fi
echo "PASS"
