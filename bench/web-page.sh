#!/usr/bin/env bash
# web-page.sh [WEB_DIR [NATIVE_BUILD_DIR]]: the page's start and frame work in
# headless chromium (WebPageBench.mjs). Defaults: build/web and build/rel.
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
node "$root/bench/WebPageBench.mjs" "$web" "$native/anagura-replay" "$root/assets" "$work"
