#!/usr/bin/env bash
# node-replay.sh NATIVE_TOOL NODE_TOOL [FRAMES] [RUNS]: frames a second of the
# native replay tool and of its node build (build/web/anagura-replay.js) on the
# same random script (30000 frames by default; taps as scripts/replays.sh makes
# them), playing only, with no outputs; the best of RUNS runs (3) each, in
# wall time and in processor time.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
native="$1" node_tool="$2" frames="${3:-30000}" runs="${4:-3}"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
source "$root/scripts/random-input.bash"
random_input 11 "$frames" > "$scratch/input.txt"
cp -r "$root/assets" "$scratch/data"

# best COMMAND...: the least wall time and the least processor time (user +
# system; node compiles on other threads) of the runs, in ms: "WALL CPU". The
# processor time is the steadier on a shared machine, where the wall clock
# measures the neighbours too.
best() {
  local wall="" cpu="" times
  for _ in $(seq "$runs"); do
    times=$({ TIMEFORMAT='%3R %3U %3S'; time "$@" --data "$scratch/data" --seed 11 --input "$scratch/input.txt" \
      --frames "$frames" > /dev/null 2>&1; } 2>&1 | awk '{ printf "%d %d", $1 * 1000, ($2 + $3) * 1000 }')
    if [ -z "$wall" ] || [ "${times% *}" -lt "$wall" ]; then wall=${times% *}; fi
    if [ -z "$cpu" ] || [ "${times#* }" -lt "$cpu" ]; then cpu=${times#* }; fi
  done
  echo "$wall $cpu"
}
native_times=$(best "$native")
node_times=$(best node "$node_tool")
awk -v f="$frames" -v a="$native_times" -v b="$node_times" 'BEGIN {
  split(a, n, " "); split(b, w, " ")
  printf "native: %.0f frames/s (%.2f s wall), %.0f frames/s of processor time (%.2f s)\n",
    f / (n[1] / 1e3), n[1] / 1e3, f / (n[2] / 1e3), n[2] / 1e3
  printf "node:   %.0f frames/s (%.2f s wall), %.0f frames/s of processor time (%.2f s), start-up included\n",
    f / (w[1] / 1e3), w[1] / 1e3, f / (w[2] / 1e3), w[2] / 1e3
  printf "node / native: %.2f (wall), %.2f (processor time)\n", n[1] / w[1], n[2] / w[2] }'
