#!/usr/bin/env bash
# web-size.sh [WEB_DIR]: what the web folder (scripts/web.sh; build/web by
# default) weighs gzipped (gzip -9), file by file, against the data folder's
# own gzipped size: what the page loads besides the data, and the whole folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
web="$(cd "${1:-$root/build/web}" && pwd)"
gz() { gzip -9c "$@" | wc -c; }
data=$(tar -C "$root/assets" -cf - image sound Data | gzip -9 | wc -c)
whole=$(tar -C "$web" -cf - . | gzip -9 | wc -c)
page=0
printf '%-40s %10s %10s\n' file stored gzipped
for file in anagura.wasm anagura.js anagura-page.js anagura-texts.js anagura-page.css index.html data/files.txt \
  data/fonts/misaki_gothic.ttf anagura-replay.js anagura-replay.wasm.br; do
  size=$(gz "$web/$file")
  printf '%-40s %10d %10d\n' "$file" "$(stat -c %s "$web/$file")" "$size"
  case "$file" in anagura-replay.*) ;; *) page=$((page + size)) ;; esac
done
awk -v d="$data" -v p="$page" -v w="$whole" 'BEGIN {
  printf "data folder alone: %.2f MB\npage (besides the data): %.2f MB\nwhole folder: %.2f MB, the data + %.2f MB\n",
    d / 1e6, p / 1e6, w / 1e6, (w - d) / 1e6 }'
