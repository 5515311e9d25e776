#!/usr/bin/env bash
# Sets up, builds and runs every test: once in a normal build, once under
# AddressSanitizer + UndefinedBehaviorSanitizer. Starts a plain Xvfb for the
# window tests and leaves SDL's drivers to SDL, as on a player's machine.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh" game test package
mkdir -p "$root/build"

xvfb_pid=""
cleanup() { if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi; }
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  for n in 91 92 93 94 95 96 97 98; do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp > /dev/null 2>&1 &
      xvfb_pid=$!
      export DISPLAY=":$n"
      break
    fi
  done
  for _ in $(seq 1 50); do
    [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break
    sleep 0.1
  done
fi

# Both builds: the tests and the tools they use, warnings as errors.
checks="-DANAGURA_TESTS=ON -DANAGURA_TOOLS=ON -DANAGURA_WERROR=ON"

echo "== sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer)"
bash "$root/scripts/build.sh" "$root/build/asan" -DANAGURA_SANITIZE=ON -DANAGURA_BENCH=OFF $checks \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG"
(cd "$root/build/asan" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j 2 --timeout 300)

echo "== normal build"
bash "$root/scripts/build.sh" "$root/build/test" -DANAGURA_BENCH=ON $checks "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG"
cd "$root/build/test"
ctest --output-on-failure -j 2 --timeout 300
