# Sourced by the scripts that drive Chromium from node (tests/web/run.sh,
# bench/web-page.sh). web_node_modules DIR: installs DIR's package-lock.json
# into DIR/node_modules with npm ci, again only when the lock has changed.
web_node_modules() {
  local stamp="$1/node_modules/.installed-from-lock"
  if ! cmp -s "$1/package-lock.json" "$stamp" 2> /dev/null; then
    (cd "$1" && npm ci --no-audit --no-fund --ignore-scripts > /dev/null)
    cp "$1/package-lock.json" "$stamp"
  fi
}
