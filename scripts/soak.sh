#!/usr/bin/env bash
# soak.sh FRAMES: the replay tool plays the game on random key presses (Z most
# of all, X and the arrows, never Escape), so that games are begun, lost and
# begun again:
#  1. in the sanitizer build (build/asan, AddressSanitizer with leak checking +
#     UndefinedBehaviorSanitizer): FRAMES frames in all over four seeds, two
#     runs at a time. Any report, a run that does not end well or one that
#     begins no game fails;
#  2. in the normal build (build/test): the first seed's FRAMES frames, and the
#     same run cut at the end of its first game. Memory must stop growing once
#     a game has been played: the whole run's peak may exceed the cut run's by
#     at most 2 MB.
# Both builds are made as scripts/test.sh makes them (only the replay tool when
# they are not there yet). FRAMES should give the first seed two games or more
# (50000 do).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
frames="${1:?usage: soak.sh FRAMES}"
source "$root/scripts/builds.sh"
bash "$root/scripts/setup.sh" game test > /dev/null
mkdir -p "$root/build"
export ANAGURA_BUILD_TARGETS=anagura-replay
bash "$root/scripts/build.sh" "${asan_build[@]}" > /dev/null
bash "$root/scripts/build.sh" "${test_build[@]}" > /dev/null
unset ANAGURA_BUILD_TARGETS
work="$root/build/soak/$frames"   # runs of different lengths may go side by side
rm -rf "$work"
mkdir -p "$work"
seeds=(1 2 3 4)
per_seed=$((frames / ${#seeds[@]}))

source "$root/scripts/random-input.bash"

# replay BUILD SEED FRAMES OUT [options...]: one run; its peak memory (kB) and
# time (s) go to OUT.memory.
replay() {
  local build="$1" seed="$2" length="$3" out="$4"
  shift 4
  XDG_DATA_HOME="$work" /usr/bin/time -f "%M %e" -o "$out.memory" "$root/build/$build/anagura-replay" --data "$root/assets" \
    --seed "$((seed * 7919))" --input "$work/input$seed.txt" --frames "$length" "$@" > "$out.log" 2>&1
}

echo "== soak: $frames frames under the sanitizers (${#seeds[@]} seeds of $per_seed frames)"
for seed in "${seeds[@]}"; do random_input "$seed" "$frames" > "$work/input$seed.txt"; done
export ASAN_OPTIONS="detect_leaks=1" UBSAN_OPTIONS="print_stacktrace=1"
begin=$SECONDS
failed=0
for ((i = 0; i < ${#seeds[@]}; i += 2)); do   # two at a time
  pids=()
  for seed in "${seeds[@]:i:2}"; do
    replay asan "$seed" "$per_seed" "$work/asan$seed" --trace "$work/asan$seed.jsonl" --trace-every 100 &
    pids+=("$!")
  done
  for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
done
took=$((SECONDS - begin))
for seed in "${seeds[@]}"; do
  games=$(grep -o '"scene":"[a-z]*"' "$work/asan$seed.jsonl" 2> /dev/null | uniq | grep -c game || true)
  if grep -Eq 'Sanitizer|runtime error' "$work/asan$seed.log"; then failed=1; fi
  read -r peak seconds < "$work/asan$seed.memory"
  echo "  seed $seed: $games games, peak $peak kB, $seconds s"
  # A run that began no game soaked nothing of the game scene.
  if [ "$games" -lt 1 ]; then
    echo "  seed $seed began no game in $per_seed frames"
    failed=1
  fi
done
if [ "$failed" -ne 0 ]; then
  for seed in "${seeds[@]}"; do cat "$work/asan$seed.log"; done
  echo "soak: FAIL: a sanitizer report, a failed run or one without a game"
  exit 1
fi
echo "  $((per_seed * ${#seeds[@]})) frames in $took s, no report"

echo "== soak: memory in the normal build ($frames frames of seed 1)"
# The first game ends where the trace leaves the game scene for the title. The
# runs measured write no trace: its buffer would count in the longer run alone.
replay test 1 "$frames" "$work/probe" --trace "$work/probe.jsonl" --trace-every 100
first_end=$(awk 'match($0, /"frame":[0-9]+,"scene":"[a-z]+"/) {
    split(substr($0, RSTART, RLENGTH), f, /[:,"]+/)
    if (f[5] == "game") played = 1
    else if (played) { print f[3]; exit }
  }' "$work/probe.jsonl")
[ -n "$first_end" ] || { echo "soak: FAIL: no game of seed 1 was lost in $frames frames"; exit 1; }
cut_at=$((first_end + 600))
[ "$cut_at" -lt "$frames" ] || { echo "soak: FAIL: $frames frames hold no second game of seed 1"; exit 1; }
replay test 1 "$cut_at" "$work/cut"
replay test 1 "$frames" "$work/whole"
read -r cut_peak _ < "$work/cut.memory"
read -r whole_peak seconds < "$work/whole.memory"
echo "  peak after the first game (frame $cut_at): $cut_peak kB; after frame $frames: $whole_peak kB" \
  "($seconds s, $(awk -v f="$frames" -v s="$seconds" 'BEGIN { printf "%d", f / (s > 0 ? s : 1) }') frames/s)"
if [ $((whole_peak - cut_peak)) -gt 2048 ]; then
  echo "soak: FAIL: memory grew by $((whole_peak - cut_peak)) kB after the first game"
  exit 1
fi
echo "soak: $frames frames, no report, memory flat after the first game"
