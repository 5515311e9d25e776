#!/usr/bin/env bash
# screenshots.sh [BUILD_DIR]: remakes the README's screenshots from the real
# game: anagura-replay plays docs/screenshots.txt with seed 7, and the title,
# the command menu and a battle are kept at 4x as docs/screenshot-*.png.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/release}"
if [ ! -f "$build/CMakeCache.txt" ]; then
  mkdir -p "$(dirname "$build")"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release > "$build.configure.log" 2>&1 || {
    cat "$build.configure.log"; exit 1; }
fi
cmake --build "$build" --target anagura-replay -j "$(nproc)"
shots="$(mktemp -d)"
trap 'rm -rf "$shots"' EXIT
XDG_DATA_HOME="$shots" "$build/anagura-replay" --data "$root/assets" --seed 7 --input "$root/docs/screenshots.txt" --frames 700 \
  --screenshots "$shots" --shot-every 5 > /dev/null
for pair in 120:title 260:command-menu 605:battle; do
  python3 "$root/scripts/upscale.py" "$shots/$(printf '%08d' "${pair%%:*}").png" \
    "$root/docs/screenshot-${pair#*:}.png" 4
done
ls -l "$root"/docs/screenshot-*.png
