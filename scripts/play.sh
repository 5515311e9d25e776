#!/usr/bin/env bash
# Sets up, builds and starts the game (working folder: assets/). Builds only the
# game itself, without tests, benchmarks or tools; later runs rebuild nothing and
# start at once. Arguments are passed to the game.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh" game
build="$root/build/release"
mkdir -p "$root/build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DANAGURA_TESTS=OFF -DANAGURA_BENCH=OFF -DANAGURA_TOOLS=OFF > "$build.configure.log" 2>&1 || {
  cat "$build.configure.log"; exit 1; }
cmake --build "$build" --target anagura -j "$(nproc)"
cd "$root/assets"
exec "$build/anagura" "$@"
