#!/usr/bin/env bash
# The .deb as a player gets it: made by CPack from this build, checked by
# lintian, the desktop entry and AppStream validators, unpacked into a throwaway
# folder and started from there under the test command's X server, by a player
# who cannot write the installed data, with a fresh HOME and a working folder
# without data. The game must show its window with its icon, find its data
# beside its executable, load every picture it asks for, keep its log under
# $XDG_DATA_HOME/anagura and end on a real Escape; the packaged replay tool runs
# on the installed data, and the packaged key tool changes the player's key file.
set -u
build="$1"
source "$(dirname "$0")/ProgramTest.bash"
require_x_window
require_tools cpack dpkg-deb dpkg-shlibdeps lintian desktop-file-validate appstreamcli xprop

work="$(mktemp -d)"
chmod 755 "$work"
home="$work/home"
log="$home/.local/share/anagura/Log.txt"
game=""
lock="anagura-package-test-$$"
cleanup() {
  [ -z "$game" ] || kill "$game" 2> /dev/null
  chmod -R u+w "$work" 2> /dev/null
  rm -rf "$work"
  rm -f "${XDG_RUNTIME_DIR:-/nonexistent}/$lock.lock" "/tmp/$lock-"*.lock
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  [ ! -f "$log" ] || { echo "--- $log"; iconv -f CP932 -t UTF-8 "$log"; echo; }
  [ ! -f "$work/game.out" ] || { echo "--- output"; cat "$work/game.out"; }
  exit 1
}

# Make and check the package.
(cd "$build" && cpack -G DEB -B "$work/pkg") > "$work/cpack.out" 2>&1 || { cat "$work/cpack.out"; fail "cpack failed"; }
deb="$(ls "$work"/pkg/anagura_*_"$(dpkg --print-architecture)".deb 2> /dev/null | head -n 1)"
[ -n "$deb" ] || fail "no anagura_<version>_<arch>.deb made"
dpkg-deb -f "$deb" Depends | grep -q "fonts-misaki" || fail "Depends lacks fonts-misaki"
dpkg-deb -f "$deb" Depends | grep -q "fonts-ipafont-gothic" || fail "Depends lacks fonts-ipafont-gothic"
dpkg-deb -f "$deb" Depends | grep -q "libsdl2" || fail "Depends lacks the shared libraries (shlibdeps)"
lintian --fail-on error "$deb" > "$work/lintian.out" 2>&1 || { cat "$work/lintian.out"; fail "lintian reports errors"; }
root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root"/usr/share/applications/*.desktop || fail "the desktop entry is not valid"
appstreamcli validate "$root"/usr/share/metainfo/*.metainfo.xml || fail "the AppStream metadata is not valid"
for size in 16 32 48 64 128 256; do
  [ -f "$root/usr/share/icons/hicolor/${size}x${size}/apps/anagura.png" ] || fail "no ${size}x${size} icon"
done
for page in anagura anagura-replay anagura-keys; do
  [ -f "$root/usr/share/man/man6/$page.6.gz" ] || fail "no manual page $page(6)"
done

# The player: not the owner of the installed files, a fresh HOME.
mkdir -p "$home" "$work/cwd"
run_as=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$home" "$work/cwd"
  run_as=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
else
  chmod -R a-w "$root"
fi
(cd "$work/cwd" && exec env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u XDG_CACHE_HOME -u XDG_RUNTIME_DIR \
  HOME="$home" ANAGURA_INSTANCE_LOCK="$lock" "${run_as[@]}" "$root/usr/games/anagura") > "$work/game.out" 2>&1 &
game=$!

# The end of its start-up, in its log under $XDG_DATA_HOME/anagura, and its window.
wait_until "end of the start-up in $log" start_up_done "$log"
wait_for_window "$game"
xprop -id "$window" _NET_WM_ICON | grep -q "Icon (64 x 64)" || fail "the window has no 64 x 64 icon"

# The title's pictures are loaded before its first frame; Z starts a game, whose
# play-screen pictures load too. Then a real Escape ends the program.
xdotool windowfocus --sync "$window" 2> /dev/null || xdotool windowfocus "$window"
sleep 1
xdotool key z
sleep 2
kill -0 "$game" 2> /dev/null || fail "the game ended after Z"
xdotool key Escape
for _ in $(seq 1 100); do
  kill -0 "$game" 2> /dev/null || break
  sleep 0.02
done
kill -0 "$game" 2> /dev/null && fail "the game did not end within 2 s of Escape"
wait "$game"
status=$?
game=""
[ "$status" -eq 0 ] || fail "the game exited with status $status after Escape"

for text in "グラフィックファイル" "グラフィックの分割"; do
  log_has "$log" "$text" && fail "a picture failed to load"
done
[ -e "$root/usr/share/games/anagura/Log.txt" ] && fail "the game wrote into the installed data folder"
# The replay tool runs from the package on the installed data too.
(cd "$work/cwd" && exec env HOME="$home" "${run_as[@]}" "$root/usr/games/anagura-replay" \
  --data "$root/usr/share/games/anagura" --seed 1 --frames 120 --screenshots shots --shot-every 120) \
  > "$work/replay.out" 2>&1 || { cat "$work/replay.out"; fail "the packaged replay tool failed"; }
[ -f "$work/cwd/shots/00000120.png" ] || fail "the packaged replay tool wrote no screenshot"
# The key tool changes the player's copy of the key file, never the installed one.
own="$home/.local/share/anagura/Data/KeyData.dat"
installed_keys="$(od -An -td4 "$root/usr/share/games/anagura/Data/KeyData.dat")"
(cd "$work/cwd" && exec env -u XDG_DATA_HOME HOME="$home" "${run_as[@]}" "$root/usr/games/anagura-keys" \
  set decide=Return) > "$work/keys.out" 2>&1 || { cat "$work/keys.out"; fail "the packaged key tool failed"; }
[ "$(od -An -td4 -j 20 -N 4 "$own" | tr -d ' ')" = 28 ] || fail "the key tool did not set decide=Return in $own"
[ "$(od -An -td4 "$root/usr/share/games/anagura/Data/KeyData.dat")" = "$installed_keys" ] ||
  fail "the key tool changed the installed key file"
echo "PASS: package made and checked, unpacked game ran from $root with its log in $log"
