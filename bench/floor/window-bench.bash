# Sourced by the benchmarks that run the game in a real X window
# (window-vs-floor.sh, window-frame-work.sh). Needs $root and $work.

# The tests' Xvfb start (start_xvfb FOLDER) and waits.
source "$root/tests/ProgramTest.bash"

# game_folder DIR: a folder for the game to run in, the project's data linked in.
game_folder() {
  mkdir -p "$1"
  for sub in image sound Data fonts; do
    if [ -e "$root/assets/$sub" ]; then ln -s "$root/assets/$sub" "$1/$sub"; fi
  done
}
