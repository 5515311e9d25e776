#!/usr/bin/env bash
# NodeReplayTest.sh WEB_DIR NATIVE_BUILD_DIR [FRAMES]: the replay tool built for
# node (WEB_DIR/anagura-replay.js) plays long random games as the native one
# does: state trace, call trace and screenshots byte for byte, the audio to one
# step of MP3 rounding (below), on a data folder without the font (the node tool
# takes the web folder's).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
web="$(cd "$1" && pwd)"
native="$(cd "$2" && pwd)"
frames="${3:-20000}"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

bash "$root/scripts/replays.sh" "$native/anagura-replay" "$scratch/native" "$frames" > /dev/null
bash "$root/scripts/replays.sh" "$web/anagura-replay.js" "$scratch/node" "$frames" > /dev/null
if ! diff <(grep -v audio "$scratch/native/sums.txt") <(grep -v audio "$scratch/node/sums.txt"); then
  echo "NodeReplayTest: the node replay tool's outputs differ from the native tool's (above)"
  exit 1
fi
# Audio: mpg123 synthesises MP3 with its SSE/AVX code on the desktop and with
# its plain C code in WebAssembly, whose float sums round apart now and then (by
# one step, about 1 sample in 2,000 while music plays; without MP3 the audio is
# identical). The rest must hold: header, length, every sample within one step.
for seed in 11 12 13; do
  /usr/bin/python3 - "$scratch/native/audio$seed.wav" "$scratch/node/audio$seed.wav" << 'EOF'
import array, sys
a, b = (open(path, "rb").read() for path in sys.argv[1:])
assert a[:44] == b[:44] and len(a) == len(b), "the audio's header or length differs"
x, y = array.array("h", a[44:]), array.array("h", b[44:])
assert all(abs(p - q) <= 1 for p, q in zip(x, y)), "audio samples differ by more than one step"
print(f"audio: {sum(p != q for p, q in zip(x, y))} of {len(x)} samples one step apart")
EOF
done
# The same command line answers the same way: a bad option is refused alike.
native_refusal="$("$native/anagura-replay" --frames x 2>&1 || echo "status $?")"
node_refusal="$(node "$web/anagura-replay.js" --frames x 2>&1 || echo "status $?")"
if [ "$native_refusal" != "$node_refusal" ]; then
  printf 'NodeReplayTest: a bad option is answered differently:\n%s\n---\n%s\n' "$native_refusal" "$node_refusal"
  exit 1
fi
echo "NodeReplayTest: $(wc -l < "$scratch/node/sums.txt") outputs of $frames-frame games alike"
