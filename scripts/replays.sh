#!/usr/bin/env bash
# replays.sh REPLAY_TOOL OUT [FRAMES]: plays long random games with the replay
# tool (seeds 11, 12 and 13, FRAMES frames each, 30000 by default) and keeps
# their state trace, call trace, screenshots and audio in OUT, with a sha256 of
# each in OUT/sums.txt. A change that keeps the game's behaviour gives the same
# sums before and after:
#     bash scripts/replays.sh build/before/anagura-replay /tmp/before
#     bash scripts/replays.sh build/after/anagura-replay /tmp/after
#     diff /tmp/before/sums.txt /tmp/after/sums.txt
# Set ANAGURA_REPLAY_ARGS to give the tool more options (for example --lang). A
# tool whose name ends in .js is the node build (scripts/web.sh) and runs under node.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
tool=("$(cd "$(dirname "$1")" && pwd)/$(basename "$1")")
if [[ "$1" == *.js ]]; then tool=(node "${tool[@]}"); fi
out="$2"
frames="${3:-30000}"
rm -rf "$out"
mkdir -p "$out"
out="$(cd "$out" && pwd)"

source "$root/scripts/random-input.bash"

data="$out/data"
mkdir -p "$data"   # a copy the tool writes its log into
cp -r "$root/assets/image" "$root/assets/sound" "$root/assets/Data" "$root/assets/fonts" "$data/"
for seed in 11 12 13; do
  random_input "$seed" "$frames" > "$out/input$seed.txt"
  # shellcheck disable=SC2086
  "${tool[@]}" --data "$data" --seed "$seed" --input "$out/input$seed.txt" --frames "$frames" \
    --trace "$out/trace$seed.jsonl" --calls "$out/calls$seed.jsonl" --trace-every 7 \
    --screenshots "$out/shots$seed" --shot-every 500 --audio-out "$out/audio$seed.wav" \
    ${ANAGURA_REPLAY_ARGS:-} > "$out/log$seed.txt" 2>&1
done
(cd "$out" && find . -path ./data -prune -o -type f ! -name 'log*' ! -name sums.txt -print | sort |
  xargs sha256sum) > "$out/sums.txt"
echo "replays: $(wc -l < "$out/sums.txt") files summed in $out/sums.txt"
