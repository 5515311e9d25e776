#!/usr/bin/env bash
# setup.sh [game] [test] [package] [web]: installs the Debian packages of the named
# groups (default: game). Non-interactive; runs apt-get as root, through sudo
# otherwise; skips what is installed.
#   game     what the game needs to build and run
#   test     the tests, the benchmarks and the asset generator (GoogleTest,
#            Google Benchmark, lame, Xvfb, xdotool, xprop, xwd, clang-format, the XDamage headers of the floor
#            benchmark); the fuzz targets (clang with libFuzzer; cjpeg and oggenc make seeds of the
#            formats we ship none of); GNU time for the soak's memory figures
#   package  making and checking the .deb (dpkg-dev, lintian, desktop-file-utils, appstream)
#   web      the browser build (scripts/web.sh): emscripten with the node it runs on, the sources'
#            unpacker (dpkg-dev) for the libraries built from Debian's sources, the font the page
#            ships and the font tools that cut it to the game's characters; chromium for the browser test
set -euo pipefail

GAME=(
  build-essential cmake pkg-config
  libsdl2-dev libx11-dev libpng-dev zlib1g-dev libjpeg62-turbo-dev
  libmpg123-dev libogg-dev libvorbis-dev
  libfreetype-dev libfontconfig-dev fonts-misaki fonts-ipafont-gothic
)
TEST=(
  libgtest-dev libgmock-dev libbenchmark-dev
  lame xvfb xdotool xauth x11-utils x11-apps libxdamage-dev clang-format
  clang libclang-rt-14-dev libjpeg-turbo-progs vorbis-tools time
)
PACKAGE=(
  dpkg-dev file lintian desktop-file-utils appstream
)
WEB=(
  emscripten dpkg-dev fonts-misaki python3-fonttools chromium
)

groups=("$@")
[ ${#groups[@]} -gt 0 ] || groups=(game)
wanted=()
for group in "${groups[@]}"; do
  case "$group" in
    game) wanted+=("${GAME[@]}") ;;
    test) wanted+=("${TEST[@]}") ;;
    package) wanted+=("${PACKAGE[@]}") ;;
    web) wanted+=("${WEB[@]}") ;;
    *) echo "setup: unknown group '$group' (game, test, package, web)" >&2; exit 2 ;;
  esac
done

missing=()
for pkg in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present (${groups[*]})"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
