#!/usr/bin/env bash
# fuzz.sh SECONDS: builds the libFuzzer targets of fuzz/ with clang (build/fuzz)
# and runs each for SECONDS, two at a time, from seeds taken from our assets,
# fuzz/seeds and ../shared/testdata (when present). The corpus each target
# grows is kept in build/fuzz/corpus; a crash, leak, timeout or sanitizer report
# is kept in build/fuzz/findings and counted. The last line is
# "fuzz: N targets, F findings, I ran no input"; the exit status is 1 when F or
# I is not 0.
set -euo pipefail
trap 'echo "fuzz: failed at line $LINENO: $BASH_COMMAND" >&2' ERR
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:?usage: fuzz.sh SECONDS}"
build="$root/build/fuzz"
testdata="$root/../shared/testdata"

bash "$root/scripts/setup.sh" game test > /dev/null
mkdir -p "$root/build"
{
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DANAGURA_FUZZ=ON -DANAGURA_WERROR=ON \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g" &&
    cmake --build "$build" -j "$(nproc)" --target fuzz
} > "$build.log" 2>&1 || { cat "$build.log"; exit 1; }

# Seeds: files of our own and, when the folder is there, of the shared test data.
seeds="$build/seeds"
rm -rf "$seeds"
add_seeds() {
  local target="$1"; shift
  mkdir -p "$seeds/$target"
  for file in "$@"; do [ -f "$file" ] && cp "$file" "$seeds/$target/"; done
  return 0
}
if [ -d "$testdata" ]; then
  add_seeds PngDecoderFuzz "$testdata"/pngsuite/*/*.png "$testdata"/bmpsuite/html/*.png
  add_seeds BmpDecoderFuzz "$testdata"/bmpsuite/[gqbx]/*.bmp
  add_seeds JpegDecoderFuzz "$testdata"/bmpsuite/html/*.jpg
else
  echo "fuzz: $testdata is absent: seeding from our own files only"
fi
add_seeds PngDecoderFuzz "$root"/assets/image/*.png
add_seeds BmpDecoderFuzz "$root"/assets/image/*.bmp
add_seeds WavDecoderFuzz "$root"/assets/sound/*.wav
add_seeds Mp3DecoderFuzz "$root"/assets/sound/*.mp3
add_seeds KeyFileFuzz "$root"/assets/Data/KeyData.dat
for dir in "$root"/fuzz/seeds/*/; do add_seeds "$(basename "$dir")" "$dir"*; done
# Our pictures and effects made into the formats we have no files of.
mkdir -p "$seeds/JpegDecoderFuzz" "$seeds/VorbisDecoderFuzz"
cjpeg -quality 75 -outfile "$seeds/JpegDecoderFuzz/TitleLogo.jpg" "$root/assets/image/TitleLogo.bmp"
cjpeg -grayscale -progressive -outfile "$seeds/JpegDecoderFuzz/kumo.jpg" "$root/assets/image/kumo.bmp"
for wav in Dec Attack; do oggenc -Q -q 0 -o "$seeds/VorbisDecoderFuzz/$wav.ogg" "$root/assets/sound/$wav.wav"; done
mkdir -p "$seeds/ShiftJisFuzz"
iconv -c -f UTF-8 -t CP932 "$root/README.ja.md" > "$seeds/ShiftJisFuzz/README.ja.txt"   # runs see its first 4096 bytes

export LSAN_OPTIONS="suppressions=$root/fuzz/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1"
findings="$build/findings"
mkdir -p "$findings" "$build/logs"
# Sounds are decoded whole and text converted character by character: their
# inputs are kept small for the runs to be many.
max_len() { case "$1" in Mp3*|Vorbis*|Wav*|ShiftJis*) echo 4096 ;; *) echo 65536 ;; esac; }
# libvorbisfile's own leak on a failed open (see lsan.supp) is named by full stacks.
asan_options() { case "$1" in Vorbis*) echo "fast_unwind_on_malloc=0" ;; *) echo "" ;; esac; }
run_target() {
  local name="$1"
  mkdir -p "$build/corpus/$name" "$seeds/$name"
  ASAN_OPTIONS="$(asan_options "$name")" "$build/fuzz/$name" -max_total_time="$seconds" -max_len="$(max_len "$name")" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$findings/$name-" \
    "$build/corpus/$name" "$seeds/$name" > "$build/logs/$name.log" 2>&1
}

targets=()
for source in "$root"/fuzz/*Fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done
failed=() idle=()
for ((i = 0; i < ${#targets[@]}; i += 2)); do   # two at a time
  pair=("${targets[@]:i:2}")
  pids=()
  for name in "${pair[@]}"; do run_target "$name" & pids+=("$!"); done
  for j in "${!pair[@]}"; do wait "${pids[j]}" || failed+=("${pair[j]}"); done
done

# Per target: the inputs run, the code edges reached and the corpus kept. A
# target that ran no input (it did not start, or its seeds alone took the
# time) tested nothing: it fails as a finding does.
for name in "${targets[@]}"; do
  runs=$(grep -ho 'stat::number_of_executed_units: *[0-9]*' "$build/logs/$name.log" | grep -o '[0-9]*$' || echo "?")
  cov=$(grep -o 'DONE *cov: [0-9]*' "$build/logs/$name.log" | grep -o '[0-9]*$' || echo "?")
  printf '  %-18s %10s runs in %s s, %5s edges, %5s inputs in the corpus\n' "$name" "$runs" "$seconds" "$cov" \
    "$(find "$build/corpus/$name" -type f | wc -l)"
  if [[ ! "$runs" =~ ^[1-9] ]] && [[ " ${failed[*]} " != *" $name "* ]]; then
    echo "== $name: ran no input (log: $build/logs/$name.log)"
    tail -n 5 "$build/logs/$name.log"
    idle+=("$name")
  fi
done
for name in "${failed[@]}"; do
  echo "== $name: finding (log: $build/logs/$name.log)"
  grep -E 'ERROR|SUMMARY|runtime error|Test unit written' "$build/logs/$name.log" | head -n 20
done
echo "fuzz: ${#targets[@]} targets, ${#failed[@]} findings, ${#idle[@]} ran no input"
[ ${#failed[@]} -eq 0 ] && [ ${#idle[@]} -eq 0 ]
