#!/usr/bin/env bash
# web.sh: builds the game for a web browser into build/web/, a static folder any
# web server serves as it is (relative paths only): index.html and its scripts,
# the game (anagura.js, anagura.wasm), the data folder as plain files with the
# list the page loads them by (data/files.txt) and the font the game's text
# needs, the web app manifest with its icons and the service worker that keeps
# it all for offline play; beside them the replay tool for node, anagura-replay.js and its
# WebAssembly (compressed: anagura-replay.wasm.br).
# web.sh serve [PORT]: builds, then serves build/web/ on 127.0.0.1 (default 8000),
# gzipped to the browser (scripts/web-server.mjs).
# Sets up what it needs first (scripts/setup.sh web). The libraries come from Debian's sources
# (web-deps.sh); the build itself is build/web-build. $ANAGURA_WEB_CMAKE_ARGS adds
# CMake options (the test command: -DANAGURA_WERROR=ON).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh" web > /dev/null
source "$root/scripts/web-env.bash"
web_check

mode="${1:-build}"
case "$mode" in
  build | serve) ;;
  *) echo "usage: web.sh [serve [PORT]]" >&2; exit 2 ;;
esac

bash "$root/scripts/web-deps.sh"

build="$root/build/web-build"
mkdir -p "$build"
# CMake's checks run small programs under node, whose own fetch breaks the loader.
NODE_OPTIONS=--no-experimental-fetch PKG_CONFIG_LIBDIR="$web_prefix/lib/pkgconfig" \
  emcmake cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_FIND_ROOT_PATH="$web_prefix" -DCMAKE_PREFIX_PATH="$web_prefix" \
  -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node -DANAGURA_WERROR=OFF ${ANAGURA_WEB_CMAKE_ARGS:-} \
  > "$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j "$(nproc)" --target anagura anagura-replay

# The folder, made anew.
out="$root/build/web"
rm -rf "$out"
mkdir -p "$out/data/fonts"
cp -r "$root/src/media/web/page/." "$out/" 2> /dev/null || true
cp "$build/anagura.js" "$build/anagura.wasm" "$build/anagura-replay.js" "$out/"
# The node tool's WebAssembly, which no page loads, compressed as well as it goes.
node -e "const z = require('zlib'), fs = require('fs'), b = fs.readFileSync(process.argv[1]);
  fs.writeFileSync(process.argv[2], z.brotliCompressSync(b, { params: { [z.constants.BROTLI_PARAM_QUALITY]: 11,
    [z.constants.BROTLI_PARAM_LGWIN]: 24, [z.constants.BROTLI_PARAM_SIZE_HINT]: b.length } }));" \
  "$build/anagura-replay.wasm" "$out/anagura-replay.wasm.br"
for folder in image sound Data; do cp -r "$root/assets/$folder" "$out/data/"; done
# Misaki Gothic, the game's 8-pixel face (no text of the game is larger), with
# its licence; of its kanji only those of the game's texts (web-font.py).
font="$(dpkg -L fonts-misaki | grep '/misaki_gothic\.ttf$' | head -n 1)"
/usr/bin/python3 "$root/scripts/web-font.py" "$font" "$root/src" "$out/data/fonts/misaki_gothic.ttf"
cp /usr/share/doc/fonts-misaki/copyright "$out/data/fonts/misaki_gothic-copyright.txt"

# What the page loads before the title ("start": the key file, the font and the
# title's pictures) and while the title plays ("later": everything else).
title_pictures=" kumo.bmp jimen.bmp yama.bmp CharY.bmp CharR.bmp CharG.bmp CharB.bmp TitleLogo.bmp PushZkey.bmp en/PushZkey.bmp "
(cd "$out/data" && find Data fonts image sound -type f ! -name '*-copyright.txt' | LC_ALL=C sort |
  while read -r path; do
    case "$path" in
      Data/* | fonts/*) echo "start $path" ;;
      image/*) if [[ "$title_pictures" == *" ${path#image/} "* ]]; then echo "start $path"; else echo "later $path"; fi ;;
      *) echo "later $path" ;;
    esac
  done) > "$out/data/files.txt"
# The page as an app: the manifest's icons, and the service worker with the
# list of every file it keeps for offline play (web-app.py).
/usr/bin/python3 "$root/scripts/web-app.py" "$out" "$root/assets/icons/hicolor/16x16/apps/anagura.png"
echo "web: $out ($(du -sh "$out" | cut -f1); gzipped $(tar -C "$out" -cf - . | gzip -9 | wc -c) bytes)"

if [ "$mode" = serve ]; then
  exec node "$root/scripts/web-server.mjs" "$out" "${2:-8000}"
fi
