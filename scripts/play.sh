#!/usr/bin/env bash
# Sets up, builds and starts the game (working folder: assets/).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
mkdir -p "$root/build"
bash "$root/scripts/build.sh" "$root/build/release"
cd "$root/assets"
exec "$root/build/release/anagura"
