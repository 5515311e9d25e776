#!/usr/bin/env bash
# window-vs-floor.sh [BUILD_DIR] [RUNS]: the game in a real X window beside the
# floor program (bench/floor/Floor.cpp, a bare SDL2 window streaming a 160 x 120
# RGB565 texture at 60 frames a second with vsync), in the same X server, in
# alternating runs; prints the medians side by side with their ratios.
#
# BUILD_DIR holds the game (default build/release, where scripts/play.sh builds
# it; built the same way when missing); RUNS defaults to 5. A plain Xvfb is
# started for the runs; WINDOW_BENCH_DISPLAY=current uses $DISPLAY instead (under
# a window manager the watcher also sees the frame it draws round each window).
# Sets up what it needs first (scripts/setup.sh game test: Xvfb, the X DAMAGE library).
#
# Each run, watched from the X server by bench/floor/WindowWatch.cpp: the times
# from start to the window's map and to its first pictures; after 2 s of steady
# running, 5 s of CPU time and wake-ups (context switches of all threads, from
# /proc) and presents; then, the keyboard focus moved away, 3 s of the same
# (the game freezes, the floor runs on).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${1:-$root/build/release}")"
runs="${2:-5}"

bash "$root/scripts/setup.sh" game test
if [ ! -x "$build/anagura" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DANAGURA_TESTS=OFF -DANAGURA_BENCH=OFF -DANAGURA_TOOLS=OFF > "$build.configure.log" 2>&1 || {
    cat "$build.configure.log"; exit 1; }
  cmake --build "$build" --target anagura -j "$(nproc)"
fi
tools="$root/build/floor"
mkdir -p "$tools"
flags=(-std=c++20 -O2 -Wall -Wextra -Werror)
# shellcheck disable=SC2046
c++ "${flags[@]}" "$root/bench/floor/Floor.cpp" -o "$tools/floor" $(pkg-config --cflags --libs sdl2)
# shellcheck disable=SC2046
c++ "${flags[@]}" "$root/bench/floor/WindowWatch.cpp" -o "$tools/window-watch" $(pkg-config --cflags --libs x11 xdamage)

work="$(mktemp -d)"
xvfb=""
cleanup() {
  if [ -n "$xvfb" ]; then kill "$xvfb" 2> /dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
source "$root/bench/floor/window-bench.bash"
if [ "${WINDOW_BENCH_DISPLAY:-}" != current ]; then
  start_xvfb "$work" || exit 1
fi
[ -n "${DISPLAY:-}" ] || { echo "window-vs-floor: no DISPLAY"; exit 1; }

# The game runs in a folder of its own (its data linked in), under a lock of its own.
game_folder "$work/game"
export ANAGURA_INSTANCE_LOCK="anagura-window-bench-$$"

mkdir -p "$work/runs"
watch() {  # watch NAME PROGRAM: one run, its key=value line appended to runs/NAME
  local status=0
  (cd "$work/game" && exec "$tools/window-watch" --settle 2 --measure 5 --frozen 3 -- "$2") \
    >> "$work/runs/$1" 2> "$work/runs/last.err" || status=$?
  if [ "$status" -ne 0 ]; then
    echo "window-vs-floor: a run of $1 failed (status $status)"
    grep -v "^ALSA lib" "$work/runs/last.err"
    exit 1
  fi
}
echo "window-vs-floor: $runs alternating runs on DISPLAY=$DISPLAY ($(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg))"
for i in $(seq 1 "$runs"); do
  if [ $((i % 2)) -eq 1 ]; then watch floor "$tools/floor"; watch game "$build/anagura"
  else watch game "$build/anagura"; watch floor "$tools/floor"; fi
  echo "  run $i of $runs done"
done

# value NAME KEY [INDEX]: the values of KEY (the INDEX-th of a comma list), one a line.
value() {
  sed -n "s/.* $2=\([^ ]*\).*/\1/p; s/^$2=\([^ ]*\).*/\1/p" "$work/runs/$1" | cut -d, -f"${3:-1}"
}
median() { sort -g | awk '{v[NR] = $1} END {if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
# gap NAME FROM TO: picture TO minus picture FROM, per run.
gap() { paste <(value "$1" pictures "$2") <(value "$1" pictures "$3") | awk '{print $2 - $1}'; }
row() {  # row LABEL FLOOR GAME
  awk -v l="$1" -v f="$2" -v g="$3" 'BEGIN {
    r = (f + 0 > 0 && g != "-") ? sprintf("%.2fx", g / f) : "-"
    printf "%-42s %10s %10s %8s\n", l, f, g, r }'
}
echo
printf "%-42s %10s %10s %8s\n" "median of $runs runs" floor game ratio
row "start to window shown (ms)" "$(value floor map | median)" "$(value game map | median)"
row "start to first picture (ms)" "$(value floor pictures 1 | median)" "$(value game pictures 1 | median)"
row "start to first frame: floor's, title (ms)" "$(value floor pictures 1 | median)" "$(value game pictures 2 | median)"
row "first picture to next (ms)" "$(gap floor 1 2 | median)" "$(gap game 1 2 | median)"
row "CPU (% of one core)" "$(value floor cpu | median)" "$(value game cpu | median)"
row "wake-ups per second" "$(value floor wakeups | median)" "$(value game wakeups | median)"
row "presents per second" "$(value floor presents | median)" "$(value game presents | median)"
row "focus lost: wake-ups per second" "$(value floor frozen_wakeups | median)" "$(value game frozen_wakeups | median)"
row "focus lost: presents per second" "$(value floor frozen_presents | median)" "$(value game frozen_presents | median)"
row "focus back: presents in the next second" "$(value floor thawed_presents | median)" "$(value game thawed_presents | median)"
echo
echo "The game's first picture is the black one its window opens with; its second"
echo "is the first frame of the title. Focus lost: the game is frozen, the floor runs on."
