#!/usr/bin/env bash
# Sets up, builds and starts the game (working folder: assets/). Builds the game
# and the player's tools (anagura-keys, anagura-replay) beside it in
# build/release, without tests, benchmarks or developer tools; later runs rebuild
# nothing and start at once. Arguments are passed to the game. What the game
# writes (Log.txt, screenshots, the player's keys) goes to $XDG_DATA_HOME/anagura,
# never into the checkout (assets/ holds .no-player-files).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh" game
build="$root/build/release"
mkdir -p "$root/build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DANAGURA_TESTS=OFF -DANAGURA_BENCH=OFF -DANAGURA_TOOLS=OFF > "$build.configure.log" 2>&1 || {
  cat "$build.configure.log"; exit 1; }
cmake --build "$build" --target anagura anagura-keys anagura-replay -j "$(nproc)"
cd "$root/assets"
exec "$build/anagura" "$@"
