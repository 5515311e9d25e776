#!/usr/bin/env bash
# A fresh checkout stays clean (`git status --ignored`) when the game is played from its assets/ as
# scripts/play.sh starts it, with a screenshot, and the key and replay tools run there.
set -u
build="$1" src="$2"
source "$src/tests/GameDriver.bash"
require_x_window
require_tools git
export ANAGURA_INSTANCE_LOCK="anagura-clean-checkout-test-$$" work="$(mktemp -d)" game=""
trap end_test EXIT
fail() { echo "FAIL: $*"; git -C "$work/assets" status --short --ignored; exit 1; }
cp -r "$src/assets" "$work/" && cd "$work/assets" && git init -q && git add -A &&
  git -c user.name=t -c user.email=t@example.com commit -qm checkout || fail "no checkout made"
new_player "$work/home"
rec="$work/game.rec" trace="$work/game.jsonl" player="$work/home/.local/share/anagura"
SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$work/home" "$build/anagura" --record "$rec" --trace "$trace" > /dev/null 2>&1 &
game=$!
wait_until "first frame" read_state
wait_for_window "$game"
xdotool windowfocus --sync "$window" key F12
wait_until "a screenshot" compgen -G "$player/screenshots/*.png"
kill -TERM "$game" && wait "$game" && game="" || fail "the game ended with status $?"
"$build/anagura-keys" set decide=Space > /dev/null && "$build/anagura-replay" --frames 30 > /dev/null &&
  "$build/anagura-replay" --data "$work/assets" --frames 30 > /dev/null || fail "a tool failed"
[ -z "$(git status --porcelain --ignored)" ] || fail "the checkout was changed"
[ -s "$player/Log.txt" ] && [ -s "$player/Data/KeyData.dat" ] || fail "the player's folder lacks the log or the keys"
echo "PASS: the checkout stayed clean"
