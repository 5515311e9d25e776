#!/usr/bin/env bash
# window-frame-work.sh [BUILD_DIR]: the native game's own work per frame in a
# real X window (a plain Xvfb), counted as the web page counts its own (see
# bench/floor/FrameWork.cpp), over the same frames as bench/WebPageBench.mjs:
# 300 of the title, then, 3 s after the decide key, 1,000 of the command menu.
# Prints "title US" and "command-menu US". BUILD_DIR holds the game (default
# build/rel). Sets up what it needs first (scripts/setup.sh game test).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${1:-$root/build/rel}")"
[ -x "$build/anagura" ] || { echo "window-frame-work: no game in $build" >&2; exit 1; }
bash "$root/scripts/setup.sh" game test > /dev/null

work="$(mktemp -d)"
xvfb="" game=""
cleanup() {
  if [ -n "$game" ]; then kill "$game" 2> /dev/null || true; fi
  if [ -n "$xvfb" ]; then kill "$xvfb" 2> /dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
c++ -std=c++20 -O2 -Wall -Wextra -Werror -shared -fPIC "$root/bench/floor/FrameWork.cpp" -o "$work/frame-work.so" -ldl

source "$root/bench/floor/window-bench.bash"
start_xvfb "$work" || exit 1

# The game in a folder of its own, with a home of its own.
game_folder "$work/game"
mkdir -p "$work/home"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data"
export ANAGURA_INSTANCE_LOCK="anagura-frame-work-$$" FRAME_WORK_LOG="$work/frames.log"
(cd "$work/game" && LD_PRELOAD="$work/frame-work.so" exec "$build/anagura") > "$work/game.log" 2>&1 &
game=$!
now() { date +%s%3N; }
window="$(timeout 20 xdotool search --sync --onlyvisible --pid "$game" | head -n 1)"
xdotool windowfocus --sync "$window"
sleep 0.5
title_from=$(now); sleep 5; title_to=$(now)
xdotool key --delay 100 z
sleep 3
menu_from=$(now); sleep 16.7; menu_to=$(now)

# per_frame FROM TO: own work per frame between the first line at or after FROM
# and the last line at or before TO.
per_frame() {
  awk -v a="$1" -v b="$2" '$1 >= a && !f0 { f0 = $2; o0 = $3 } $1 <= b { f1 = $2; o1 = $3 }
    END { if (f1 > f0) printf "%.1f\n", (o1 - o0) / (f1 - f0); else print "-" }' "$FRAME_WORK_LOG"
}
echo "title $(per_frame "$title_from" "$title_to")"
echo "command-menu $(per_frame "$menu_from" "$menu_to")"
