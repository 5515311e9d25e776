#!/usr/bin/env bash
# screenshots.sh [BUILD_DIR]: remakes the README's screenshots from the real
# game: anagura-replay plays docs/screenshots.txt with seed 7 in each language,
# and every screen (title, command menu, unit choice, raid, battle, victory,
# defeat) is kept at 4x as docs/screenshot-*.png (Japanese) and
# docs/screenshot-*-en.png (English).
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
for lang in ja en; do
  XDG_DATA_HOME="$shots" "$build/anagura-replay" --data "$root/assets" --seed 7 --input "$root/docs/screenshots.txt" --frames 3700 \
    --screenshots "$shots/$lang" --shot-every 5 --lang "$lang" > /dev/null
  suffix=""; [ "$lang" = en ] && suffix="-en"
  for pair in 120:title 260:command-menu 360:unit-choice 765:raid 800:battle 850:victory 3675:defeat; do
    python3 "$root/scripts/upscale.py" "$shots/$lang/$(printf '%08d' "${pair%%:*}").png" \
      "$root/docs/screenshot-${pair#*:}$suffix.png" 4
  done
done
ls -l "$root"/docs/screenshot-*.png
