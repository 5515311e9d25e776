#!/usr/bin/env bash
# web-page.sh [WEB_DIR [NATIVE_BUILD_DIR]]: the page's start and frame work in
# headless chromium (WebPageBench.mjs), set against the native game's in its
# window (window-frame-work.sh). Defaults: build/web and build/rel.
set -eu
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
web="$(cd "${1:-$root/build/web}" && pwd)"
native="$(cd "${2:-$root/build/rel}" && pwd)"
CHROMIUM="$(command -v chromium)" || { echo "web-page: chromium is missing (bash scripts/setup.sh web)" >&2; exit 1; }
export CHROMIUM
source "$root/tests/web/node-modules.bash"
web_node_modules "$root/tests/web"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
window_work="$(bash "$root/bench/window-frame-work.sh" "$native")"
title_us="$(awk '$1 == "title" { print $2 }' <<< "$window_work")"
menu_us="$(awk '$1 == "command-menu" { print $2 }' <<< "$window_work")"
node "$root/bench/WebPageBench.mjs" "$web" "$native/anagura-replay" "$root/assets" "$work" "$title_us" "$menu_us"
