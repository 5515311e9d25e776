#!/usr/bin/env bash
# Sets up, builds and runs every test: once in a normal build, once under
# AddressSanitizer + UndefinedBehaviorSanitizer. Starts a plain Xvfb for the
# window tests and leaves SDL's drivers to SDL, as on a player's machine. Then
# the sound, mixer and lock tests under ThreadSanitizer, a soak of the replay
# tool on random play (soak.sh) and a short run of every fuzz target (fuzz.sh).
# Last the browser build (web.sh): its node replay tool against the native one,
# and the page in a headless Chromium.
#
# A test that cannot run here is skipped and named at the end, and the run
# does not say "everything passed"; under CI=true a test that cannot run fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh" game test package web
mkdir -p "$root/build"

source "$root/tests/ProgramTest.bash"
xvfb=""
cleanup() { if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi; }
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then start_xvfb "$root/build"; fi

# Both builds: the tests and the tools they use, warnings as errors (builds.sh).
source "$root/scripts/builds.sh"

# stage NAME: ends the stage before (its time is printed) and begins the next.
stage_name="" stage_begin=$SECONDS begin=$SECONDS
stage() {
  [ -z "$stage_name" ] || echo "== $stage_name: $((SECONDS - stage_begin)) s"
  stage_name="$1" stage_begin=$SECONDS
  [ -z "$1" ] || echo "== $1"
}

# The tests skipped, "STAGE: NAME" each.
skipped=()
# run_ctest DIR ENV...: the build's tests (environment given as NAME=VALUE); its
# skipped tests are noted.
run_ctest() {
  local dir="$1"
  shift
  (cd "$dir" && env "$@" ctest --output-on-failure -j 2 --timeout 300) | tee "$dir/ctest.out"
  local name
  while IFS= read -r name; do skipped+=("$stage_name: $name"); done \
    < <(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (Skipped)$/\1/p' "$dir/ctest.out")
}

stage "sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer)"
bash "$root/scripts/build.sh" "${asan_build[@]}"
run_ctest "$root/build/asan" ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1

stage "normal build"
bash "$root/scripts/build.sh" "${test_build[@]}"
run_ctest "$root/build/test"

stage "thread sanitizer build (the media layer and every test that stands on it alone)"
ANAGURA_BUILD_TARGETS=anagura_thread_tests bash "$root/scripts/build.sh" "$root/build/tsan" \
  -DANAGURA_THREAD_SANITIZE=ON -DANAGURA_WERROR=ON "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g -DNDEBUG"
# A hang (a thread kept waiting on another) fails after ten minutes. The asset
# generator some of them run is the normal build's.
(cd "$root/build/tsan" && ANAGURA_BUILD_DIR="$root/build/test" TSAN_OPTIONS="halt_on_error=1" \
  timeout --kill-after=10 600 ./anagura_thread_tests) > "$root/build/tsan/tests.out" 2>&1 || {
  cat "$root/build/tsan/tests.out"
  echo "test: the thread sanitizer tests failed or did not end within ten minutes"; exit 1; }
grep -E '^\[ *(PASSED|SKIPPED) *\] [0-9]+ test' "$root/build/tsan/tests.out"
while IFS= read -r name; do skipped+=("$stage_name: $name"); done \
  < <(sed -n 's/^\[  SKIPPED \] \([^ ]*\)$/\1/p' "$root/build/tsan/tests.out")

stage "soak"
bash "$root/scripts/soak.sh" 100000

stage "fuzz"
bash "$root/scripts/fuzz.sh" 15

stage "web (the browser build; the node replay tool, the page in Chromium)"
ANAGURA_WEB_CMAKE_ARGS=-DANAGURA_WERROR=ON bash "$root/scripts/web.sh"
bash "$root/tests/web/NodeReplayTest.sh" "$root/build/web" "$root/build/test"
status=0
bash "$root/tests/web/run.sh" "$root/build/web" "$root/build/test" || status=$?
[ "$status" -ne 77 ] || skipped+=("$stage_name: tests/web/run.sh")
[ "$status" -eq 0 ] || [ "$status" -eq 77 ] || exit "$status"
stage ""
if [ ${#skipped[@]} -eq 0 ]; then
  echo "test: everything passed in $((SECONDS - begin)) s"
  exit 0
fi
echo "test: passed in $((SECONDS - begin)) s, but ${#skipped[@]} tests did not run (their reasons are in the logs):"
printf '  %s\n' "${skipped[@]}"
[ "${CI:-}" != true ] || { echo "test: FAIL: under CI=true every test must run"; exit 1; }
