#!/usr/bin/env bash
# package.sh [BUILD_DIR]: sets up, builds the game and its replay tool with
# Debian's build flags (hardening included) and makes
# BUILD_DIR/anagura_<version>_<arch>.deb (default BUILD_DIR: build/package),
# then checks it with lintian.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/package}"
bash "$root/scripts/setup.sh" game package
mkdir -p "$(dirname "$build")"
cd "$root"  # the flags map this folder's paths to "." in the debugging data
export DEB_BUILD_MAINT_OPTIONS="hardening=+all"
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
  "-DCMAKE_CXX_FLAGS=$cxxflags" "-DCMAKE_EXE_LINKER_FLAGS=$ldflags" \
  -DANAGURA_TESTS=OFF -DANAGURA_BENCH=OFF -DANAGURA_TOOLS=OFF > "$build.configure.log" 2>&1 || {
  cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j "$(nproc)"
(cd "$build" && cpack > "$build.cpack.log" 2>&1) || { cat "$build.cpack.log"; exit 1; }
deb="$(ls -t "$build"/anagura_*.deb | head -n 1)"
lintian --fail-on error "$deb"
echo "package: $deb"
