#!/usr/bin/env bash
# Continuing the last game, in a real window on an X server of the test's own:
# a game is started and left with Escape, then continued again and again, each
# continued run left another way (Escape, the window destroyed, SIGTERM, SIGINT, SIGHUP,
# the X server gone, kill -9 just after a new day began). Every continued run
# goes on from the frame the last one kept, from the state kept beside the
# recording, and all the runs together trace exactly what one replay of the
# kept recording traces (and calls). Escape during a long catch-up ends the
# program and leaves the last game as it was.
set -u
build="$1"
src="$2"
source "$src/tests/GameDriver.bash"
require_own_x_server

work="$(mktemp -d)"
game=""
xvfb=""
trap 'end_test; [ -z "$xvfb" ] || kill "$xvfb" 2> /dev/null' EXIT
fail() {
  echo "FAIL: $*"
  echo "--- last state: $(last_line "$trace" | cut -c 1-300)"
  cat "$work/out" 2> /dev/null
  exit 1
}

export ANAGURA_INSTANCE_LOCK="anagura-continue-test-$$"
unset WAYLAND_DISPLAY SDL_VIDEODRIVER
new_player "$work/home"
kept="$HOME/.local/share/anagura"
mkdir -p "$work/data"
for sub in image sound Data fonts; do ln -s "$src/assets/$sub" "$work/data/$sub"; done

start_x() { start_xvfb "$work" || fail "no X server could be started"; }

# play RUN ARGS...: starts the game with its trace in $work/RUN.jsonl and
# waits for its window; $rec is the recording that shows the keys read.
play() {
  trace="$work/$1.jsonl"
  shift
  # Muted, the sounds load as they do with a sound device, which the test's X
  # server may lack; the replay's calls are made with sound.
  (cd "$work/data" && exec "$build/anagura" --mute --trace "$trace" "$@") > "$work/out" 2>&1 &
  game=$!
  wait_until "first frame" read_state
  wait_for_window "$game"
  xdotool windowfocus --sync "$window"
}

# ended_with STATUS: the game ended by itself with that exit status.
ended_with() {
  ended() { ! kill -0 "$game" 2> /dev/null; }
  wait_until "end of the game" ended
  wait "$game"
  local status=$?
  game=""
  [ "$status" -eq "$1" ] || fail "exit status $status, not $1"
}

first_frame() { head -n 1 "$1" | sed 's/^{"frame":\([0-9]*\),.*/\1/'; }
last_frame() { tail -n 1 "$1" | sed 's/^{"frame":\([0-9]*\),.*/\1/'; }
command_menu() { read_state && [ "$scene:$state:${menu[2]}:$covered" = game:1:-1:0 ]; }

# Rests a day: the command "きゅうけい" (column 1, row 2 of the command menu).
rest() {
  wait_until "the command menu" command_menu
  while read_state && [ "${menu[0]}" != 1 ]; do press Right 205; done
  while read_state && [ "${menu[1]}" != 2 ]; do press Down 208; done
  press z 44
}

# continued RUN: the run went on from the frame where the last one was kept.
continued() {
  local from
  from=$(tail -n 1 "$kept/last-game.txt" | sed 's/^# frames //' | cut -d ' ' -f 1)
  play "$1" --continue "${@:2}"
  [ "$(first_frame "$trace")" = $((from + 1)) ] || fail "$1 did not go on from frame $from"
  runs+=("$1")
}

start_x
# A damaged last game is set aside with one line and the game starts at the
# title; a run ended there leaves nothing to continue.
mkdir -p "$kept"
printf '# seed 1\n# keys\n9 x\n' > "$kept/last-game.txt"
play damaged --continue
wait_until "the title" title_waits
xdotool key Escape
ended_with 0
grep -q "cannot continue the last game: it is damaged" "$work/out" || fail "no word of the damaged last game"
[ -e "$kept/last-game.bad.txt" ] && [ ! -e "$kept/last-game.txt" ] && [ -e "$kept/last-game-ended.txt" ] ||
  fail "the damaged game was not set aside, or the run ended on the title was"
play nothing --continue
xdotool key Escape
ended_with 0
grep -q "there is no game to continue" "$work/out" || fail "--continue with nothing kept said nothing"

runs=(first)
rec="$work/first.rec"
play first --record "$rec"
wait_until "the title" title_waits
press z 44
rest
xdotool key Escape
ended_with 0
[ -s "$kept/last-game.txt" ] || fail "no last game kept after Escape"

rec="$kept/last-game.txt"
[ -s "$kept/last-game.state" ] || fail "no state kept beside the last game"
continued escape --calls "$work/escape-calls.jsonl"
press Down 208
xdotool key Escape
ended_with 0
grep -aq "goes on from the state kept after frame" "$work/data/Log.txt" ||
  fail "the continued game did not go on from the state kept beside it"

# Without a window manager no close button can be pressed: the window is
# destroyed under the game, which ends on the X error.
continued window-gone
press Right 205
xdotool windowclose "$window"
ended_with 1

for signal in TERM INT HUP; do
  continued "$signal"
  press Down 208
  kill -"$signal" "$game"
  ended_with 0
done

continued x-gone
press Left 203
kill "$xvfb"
ended_with 1
xvfb=""
start_x

continued kill
rest
day_before=$day
next_day() { read_state && [ "$day" -gt "$day_before" ]; }
wait_until "a new day" next_day
kill -KILL "$game"
ended_with 137
continued after-kill
grep -q "\"day\":$((day_before + 1))," <(head -n 1 "$trace") || fail "the day begun before kill -9 was lost"
xdotool key Escape
ended_with 0

# One replay of the kept recording traces each run's kept frames (and the
# calls of the run that wrote them, but for its start).
"$build/anagura-replay" --data "$src/assets" --input "$kept/last-game.txt" --trace "$work/whole.jsonl" \
  --calls "$work/whole-calls.jsonl" > "$work/out" 2>&1 || fail "the replay of the kept game failed"
cmp -s <(sed 1d "$work/escape-calls.jsonl") <(awk -F '[:,]' -v from="$(first_frame "$work/escape.jsonl")" \
  -v to="$(last_frame "$work/escape.jsonl")" '$2 >= from && $2 <= to' "$work/whole-calls.jsonl") ||
  fail "the calls of a continued run differ from the replay's"
for ((i = 0; i < ${#runs[@]}; ++i)); do
  run="$work/${runs[i]}.jsonl"
  to=$(last_frame "$run")
  [ $((i + 1)) -eq ${#runs[@]} ] || to=$(($(first_frame "$work/${runs[i + 1]}.jsonl") - 1))
  from=$(first_frame "$run")
  cmp -s <(sed -n "1,$((to - from + 1))p" "$run") <(sed -n "${from},${to}p" "$work/whole.jsonl") ||
    fail "run ${runs[i]} (frames $from to $to) differs from the replay of the kept game"
done

# The same game left open for a day longer, without its state: a long catch-up.
long=$(($(last_frame "$work/whole.jsonl") + 5000000))
rm "$kept/last-game.state"
sed -i "s/^# frames .*/# frames $long/" "$kept/last-game.txt"
(cd "$work/data" && exec "$build/anagura" --continue) > "$work/out" 2>&1 &
game=$!
wait_for_window "$game"
sleep 1
xdotool key --window "$window" Escape
ended_with 0
[ "$(tail -n 1 "$kept/last-game.txt")" = "$long" ] && [ ! -e "$kept/last-game.state" ] ||
  fail "Escape during the catch-up did not leave the last game as it was"
echo "PASS: ${#runs[@]} runs, $(last_frame "$work/whole.jsonl") frames kept"
