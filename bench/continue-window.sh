#!/usr/bin/env bash
# continue-window.sh BUILD [LENGTHS...]: how long `anagura --continue` takes, in
# a real window on an X server of its own, from its start to its first live
# frame (the first line of its trace), for a game that reached the command menu
# and was then left open there for each length in frames (default: a minute,
# two hours, ten hours, a day). Each game is made by anagura-replay
# --write-last-game, then continued with the state kept beside it and without.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
shift
lengths=("$@")
[ ${#lengths[@]} -gt 0 ] || lengths=(3600 432000 2160000 5184000)
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
source "$root/bench/floor/window-bench.bash"
start_xvfb "$work" || { echo "no X server could be started"; exit 1; }
game_folder "$work/data"
# Starts a game, rests the first day, and leaves the second day's command menu open.
printf '40 44\n42\n300 205\n302\n310 208\n312\n320 208\n322\n330 44\n332\n' > "$work/idle.txt"

# continue_time RECORDING [STATE]: seconds to the first live frame.
continue_time() {
  local home="$work/home" start end
  rm -rf "$home" && mkdir -p "$home/.local/share/anagura"
  cp "$1" "$home/.local/share/anagura/last-game.txt"
  [ $# -lt 2 ] || cp "$2" "$home/.local/share/anagura/last-game.state"
  start=$(date +%s%N)
  (cd "$work/data" && HOME="$home" ANAGURA_INSTANCE_LOCK="continue-window-$$" \
    exec "$build/anagura" --continue --mute --trace "$home/trace.jsonl") > /dev/null 2>&1 &
  local game=$!
  while [ ! -s "$home/trace.jsonl" ]; do sleep 0.005; done
  end=$(date +%s%N)
  kill "$game" && wait "$game" 2> /dev/null || true
  echo "scale=2; ($end - $start) / 1000000000" | bc
}

printf '%10s %12s %12s\n' frames "with state" "without"
for frames in "${lengths[@]}"; do
  "$build/anagura-replay" --data "$work/data" --seed 1 --input "$work/idle.txt" --frames "$frames" \
    --write-last-game "$work/kept.txt" > /dev/null
  printf '%10s %11ss %11ss\n' "$frames" "$(continue_time "$work/kept.txt" "$work/kept.state")" \
    "$(continue_time "$work/kept.txt")"
done
