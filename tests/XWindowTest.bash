# Sourced by the whole-program tests that drive the game's real X window with
# xdotool: they are skipped (exit 0) without an X display or without xdotool.
if [ -z "${DISPLAY:-}" ]; then
  echo "SKIP: DISPLAY is not set (scripts/test.sh starts Xvfb)"
  exit 0
fi
if ! command -v xdotool > /dev/null; then
  echo "SKIP: xdotool is not installed"
  exit 0
fi
