#!/usr/bin/env bash
# Sets up, builds and runs every test: once in a normal build, once under
# AddressSanitizer + UndefinedBehaviorSanitizer. Starts a plain Xvfb for the
# window tests and leaves SDL's drivers to SDL, as on a player's machine. Then
# the sound, mixer and lock tests under ThreadSanitizer, a soak of the replay
# tool on random play (soak.sh) and a short run of every fuzz target (fuzz.sh).
# Last the browser build (web.sh): its node replay tool against the native one,
# and the page in a headless Chromium.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh" game test package web
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

# Both builds: the tests and the tools they use, warnings as errors (builds.sh).
source "$root/scripts/builds.sh"

# stage NAME: ends the stage before (its time is printed) and begins the next.
stage_name="" stage_begin=$SECONDS begin=$SECONDS
stage() {
  [ -z "$stage_name" ] || echo "== $stage_name: $((SECONDS - stage_begin)) s"
  stage_name="$1" stage_begin=$SECONDS
  [ -z "$1" ] || echo "== $1"
}

stage "sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer)"
bash "$root/scripts/build.sh" "${asan_build[@]}"
(cd "$root/build/asan" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j 2 --timeout 300)

stage "normal build"
bash "$root/scripts/build.sh" "${test_build[@]}"
(cd "$root/build/test" && ctest --output-on-failure -j 2 --timeout 300)

stage "thread sanitizer build (the sound, mixer and lock tests)"
ANAGURA_BUILD_TARGETS=anagura_thread_tests bash "$root/scripts/build.sh" "$root/build/tsan" \
  -DANAGURA_THREAD_SANITIZE=ON -DANAGURA_WERROR=ON "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g -DNDEBUG"
# They take seconds; a hang (a thread kept waiting on another) fails after ten minutes.
(cd "$root/build/tsan" && TSAN_OPTIONS="halt_on_error=1" timeout --kill-after=10 600 ./anagura_thread_tests \
  --gtest_filter='Sound*:VolumeLaw*:RealClock*:MediaLock*:OperationLock*') || {
  echo "test: the thread sanitizer tests failed or did not end within ten minutes"; exit 1; }

stage "soak"
bash "$root/scripts/soak.sh" 100000

stage "fuzz"
bash "$root/scripts/fuzz.sh" 15

stage "web (the browser build; the node replay tool, the page in Chromium)"
ANAGURA_WEB_CMAKE_ARGS=-DANAGURA_WERROR=ON bash "$root/scripts/web.sh"
bash "$root/tests/web/NodeReplayTest.sh" "$root/build/web" "$root/build/test"
if [ -f "$root/tests/web/run.sh" ]; then bash "$root/tests/web/run.sh" "$root/build/web" "$root/build/test"; fi
stage ""
echo "test: everything passed in $((SECONDS - begin)) s"
