#!/usr/bin/env bash
# assets.sh [BUILD_DIR]: builds the asset generator and remakes every picture,
# icon, sound and the key file under assets/ from the sources in assets/src, plus
# the contact sheet and screen mock-up in docs/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/dev}"
mkdir -p "$(dirname "$build")"
cmake -S "$root" -B "$build" -DANAGURA_TOOLS=ON > "$build.configure.log" 2>&1 || {
  cat "$build.configure.log"; exit 1; }
cmake --build "$build" --target anagura-assetgen -j "$(nproc)"
mkdir -p "$root/docs"
"$build/anagura-assetgen" --src "$root/assets/src" --out "$root/assets" \
  --sheet "$root/docs/contact-sheet.png" --mockup "$root/docs/screen-mockup.png"
du -sh "$root/assets/image" "$root/assets/icons" "$root/assets/sound" "$root/assets/Data"
