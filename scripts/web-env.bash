# Sourced by the scripts of the browser build (web.sh, web-deps.sh, the web
# tests): the environment Debian's emscripten needs on a machine whose node or
# python is not Debian's own. Needs $root.

# emcc runs under Debian's python (another one may come first on PATH) and finds
# Debian's acorn when node is not Debian's own.
export EMSDK_PYTHON=/usr/bin/python3
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
web_deps="$root/build/web-deps"
web_prefix="$web_deps/prefix"

# web_check: fails with a hint when the toolchain is missing.
web_check() {
  if ! command -v emcc > /dev/null || [ ! -x "$EMSDK_PYTHON" ]; then
    echo "web: emscripten is missing; run: bash scripts/setup.sh web" >&2
    return 1
  fi
}
