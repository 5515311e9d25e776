#!/usr/bin/env bash
# NodeReplayTest.sh WEB_DIR NATIVE_BUILD_DIR [FRAMES]: the replay tool built for
# node (WEB_DIR/anagura-replay.js) plays long random games as the native one
# does: state trace, call trace, screenshots and audio byte for byte (the MP3
# music decoded to the sample as the desktop's libmpg123 decodes it on x86-64
# with AVX), on a data folder without the font (the node tool takes the web
# folder's).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
web="$(cd "$1" && pwd)"
native="$(cd "$2" && pwd)"
frames="${3:-20000}"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

bash "$root/scripts/replays.sh" "$native/anagura-replay" "$scratch/native" "$frames" > /dev/null
bash "$root/scripts/replays.sh" "$web/anagura-replay.js" "$scratch/node" "$frames" > /dev/null
if ! diff "$scratch/native/sums.txt" "$scratch/node/sums.txt"; then
  echo "NodeReplayTest: the node replay tool's outputs differ from the native tool's (above)"
  exit 1
fi
# The same command line answers the same way: a bad option is refused alike.
native_refusal="$("$native/anagura-replay" --frames x 2>&1 || echo "status $?")"
node_refusal="$(node "$web/anagura-replay.js" --frames x 2>&1 || echo "status $?")"
if [ "$native_refusal" != "$node_refusal" ]; then
  printf 'NodeReplayTest: a bad option is answered differently:\n%s\n---\n%s\n' "$native_refusal" "$node_refusal"
  exit 1
fi
echo "NodeReplayTest: $(wc -l < "$scratch/node/sums.txt") outputs of $frames-frame games alike"
