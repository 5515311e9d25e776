#!/usr/bin/env bash
# frame-instructions.sh [BUILD_DIR] [SECONDS]
#
# Instructions per game-scene frame (BM_GameSceneFrame: clear, update, draw),
# counted by callgrind over the frames the benchmark runs. Unlike times on a
# shared machine, the count moves only when the code does, so two versions can
# be compared in one run each. Needs valgrind (not installed by this script)
# and a build with ANAGURA_BENCH=ON.
set -euo pipefail
build="${1:-build/merge}"
seconds="${2:-1}"
if ! command -v valgrind > /dev/null || ! command -v callgrind_annotate > /dev/null; then
    echo "frame-instructions: valgrind is needed (apt-get install valgrind)" >&2
    exit 2
fi
bench="$build/anagura_bench"
[ -x "$bench" ] || { echo "frame-instructions: no $bench (configure with -DANAGURA_BENCH=ON)" >&2; exit 2; }
out="$(mktemp)"
trap 'rm -f "$out" "$out.txt"' EXIT
valgrind --tool=callgrind --callgrind-out-file="$out" "--toggle-collect=RunSceneFrame(CScene&)" \
    "--toggle-collect=ClearScreen()" "$bench" --benchmark_filter='BM_GameSceneFrame$' \
    --benchmark_min_time="$seconds" > /dev/null 2>&1
callgrind_annotate --inclusive=yes "$out" > "$out.txt" 2> /dev/null
python3 - "$out" "$out.txt" <<'EOF'
import re, sys
# Calls of each function, from the call records of the profile.
names, calls, callee = {}, {}, None
for line in open(sys.argv[1]):
    m = re.match(r'^(c?)fn=\((\d+)\)(?: (.*))?', line)
    if m:
        if m.group(3):
            names[m.group(2)] = m.group(3).strip()
        callee = m.group(2) if m.group(1) else None
    elif line.startswith('calls=') and callee:
        calls[callee] = calls.get(callee, 0) + int(line.split('=')[1].split()[0])
        callee = None
listing = open(sys.argv[2]).read().splitlines()
total = 0.0
for name in ('RunSceneFrame(CScene&)', 'ClearScreen()'):
    n = sum(calls.get(i, 0) for i, v in names.items() if v == name)
    cost = max(int(l.split()[0].replace(',', '')) for l in listing if name in l and '[' in l)
    total += cost / n
    print('%-24s %7d frames %9.0f instructions a frame' % (name, n, cost / n))
print('game-scene frame: %.0f instructions' % total)
EOF
