#!/usr/bin/env bash
# run.sh WEB_DIR NATIVE_BUILD_DIR: the game's page in headless chromium, against
# the native replay tool of NATIVE_BUILD_DIR: at a desk with keys and a gamepad
# (BrowserTest.mjs), and as an installed app that plays offline (AppTest.mjs).
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
for test in BrowserTest AppTest; do
  mkdir "$work/$test"
  case "$test" in
    AppTest) node "$here/$test.mjs" "$web" "$work/$test" ;;
    *) node "$here/$test.mjs" "$web" "$native/anagura-replay" "$root/assets" "$work/$test" ;;
  esac
done
