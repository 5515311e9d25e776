#!/usr/bin/env bash
# run.sh WEB_DIR NATIVE_BUILD_DIR: the game's page in headless chromium
# (BrowserTest.mjs), against the native replay tool of NATIVE_BUILD_DIR.
# Installs the test's npm packages (package-lock.json) on first use. Without
# chromium it cannot run: skipped (status 77), under CI=true a failure.
set -eu
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
web="$(cd "$1" && pwd)"
native="$(cd "$2" && pwd)"
source "$root/tests/ProgramTest.bash"
require_tools chromium
CHROMIUM="$(command -v chromium)"
export CHROMIUM
[ -x "$native/anagura-replay" ] || { echo "FAIL: no $native/anagura-replay"; exit 1; }
source "$root/tests/web/node-modules.bash"
web_node_modules "$here"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
node "$here/BrowserTest.mjs" "$web" "$native/anagura-replay" "$root/assets" "$work"
