#!/usr/bin/env bash
# node-replay.sh NATIVE_TOOL NODE_TOOL [FRAMES] [RUNS]: frames a second of the
# native replay tool and of its node build (build/web/anagura-replay.js) on the
# same random script (30000 frames by default; taps as scripts/replays.sh makes
# them), playing only, with no outputs; the best of RUNS runs (3) each, in
# processor time.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
native="$1" node_tool="$2" frames="${3:-30000}" runs="${4:-3}"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
source "$root/scripts/random-input.bash"
random_input 11 "$frames" > "$scratch/input.txt"
cp -r "$root/assets" "$scratch/data"

# best_ms COMMAND...: the least processor time (user + system, in ms) of the
# runs: on a shared machine the wall clock measures the neighbours.
best_ms() {
  local best="" ms
  for _ in $(seq "$runs"); do
    ms=$({ TIMEFORMAT='%3U %3S'; time "$@" --data "$scratch/data" --seed 11 --input "$scratch/input.txt" \
      --frames "$frames" > /dev/null 2>&1; } 2>&1 | awk '{ printf "%d", ($1 + $2) * 1000 }')
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}
native_ms=$(best_ms "$native")
node_ms=$(best_ms node "$node_tool")
awk -v f="$frames" -v a="$native_ms" -v b="$node_ms" 'BEGIN {
  printf "native: %.0f frames/s (%.2f s)\nnode:   %.0f frames/s (%.2f s, start-up included)\nnode / native: %.2f\n",
    f / (a / 1e3), a / 1e3, f / (b / 1e3), b / 1e3, a / b }'
