# Sourced by the scripts that play random games with the replay tool.
# random_input SEED FRAMES: an input script of key taps 2 to 40 frames apart,
# each held 1 to 4 frames (Z most of all, X and the arrows, never Escape).
random_input() {
  RANDOM=$1
  local frame=2 keys=(44 44 44 45 200 208 203 205)
  while [ "$frame" -lt "$2" ]; do
    frame=$((frame + 2 + RANDOM % 39))
    echo "$frame ${keys[RANDOM % 8]}"
    frame=$((frame + 1 + RANDOM % 4))
    echo "$frame"
  done
}
