#!/usr/bin/env bash
# build.sh DIR [cmake options...]: configures and builds into DIR; only the
# targets named in $ANAGURA_BUILD_TARGETS when it is set.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$1"; shift
cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" > "$dir.configure.log" 2>&1 || {
  cat "$dir.configure.log"; exit 1; }
targets=()
for target in ${ANAGURA_BUILD_TARGETS:-}; do targets+=(--target "$target"); done
cmake --build "$dir" -j "$(nproc)" "${targets[@]}"
