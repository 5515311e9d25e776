# Sourced by the benchmarks that run the game in a real X window
# (window-vs-floor.sh, window-frame-work.sh). Needs $root and $work.

# start_xvfb: a plain Xvfb of its own, its pid in $xvfb, DISPLAY set to it.
start_xvfb() {
  exec 3> "$work/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
  xvfb=$!
  for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.05; done
  exec 3>&-
  [ -s "$work/display" ] || { echo "$(basename "$0"): Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
  export DISPLAY=":$(head -n 1 "$work/display")"
}

# game_folder DIR: a folder for the game to run in, the project's data linked in.
game_folder() {
  mkdir -p "$1"
  for sub in image sound Data fonts; do
    if [ -e "$root/assets/$sub" ]; then ln -s "$root/assets/$sub" "$1/$sub"; fi
  done
}
