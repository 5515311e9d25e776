#!/usr/bin/env bash
# A whole game in a real window on the test command's plain X server, played
# with real key presses (XTEST, through xdotool): the title; a game in which
# every command is given; the days going by; raids fought exchange by
# exchange; the defeat (on day 20 a raid always comes, and the plan has every
# colour away then, if no raid was lost before); the title again; Escape.
#
# The test plays by what the game shows, as a player does, so it never depends
# on the machine's speed (GameDriver.bash): it follows the game's own state
# trace, and holds each key until the game's recording shows it read, so that
# no press is lost or doubled. Raids come when the game's random numbers say;
# the plan's orders are affordable whatever happened, and a game lost early is
# simply followed by another.
#
# At four known states (the title, the first command menu, a battle, the
# defeat) the game is frozen by taking the keyboard focus away, its window is
# dumped (xwd) and the focus given back; each dump must show exactly the
# picture that anagura-replay makes of that frame from the recording, and the
# replayed trace must equal the played one. On the first command menu F1 opens
# the help panel, which freezes the game too: that dump must show the same
# picture with the panel's box and text centred above it, and nothing else.
set -u
build="$1"
src="$2"
source "$src/tests/GameDriver.bash"
require_x_window
require_tools xwd xwininfo

work="$(mktemp -d)"
game=""
trap end_test EXIT
fail() {
  echo "FAIL: $*"
  echo "--- last state: $(last_line "$work/game.jsonl" | cut -c 1-400)"
  echo "--- last recorded keys: $(last_line "$work/game.rec")"
  cat "$work/out" 2> /dev/null
  exit 1
}

export ANAGURA_INSTANCE_LOCK="anagura-whole-game-test-$$"
new_player "$work/home"
mkdir -p "$work/data"
for sub in image sound Data fonts; do ln -s "$src/assets/$sub" "$work/data/$sub"; done
trace="$work/game.jsonl"
rec="$work/game.rec"

# dump_window NAME [KEY]: freezes the game (the focus goes to the root window,
# or KEY opens a panel), dumps its window and notes the frames it may show,
# then gives the focus back (or KEY closes the panel) and sees it run on.
dumps=()
dump_window() {
  local name="$1" key="${2:-}" still=0 last=-1 first
  if [ -n "$key" ]; then xdotool key "$key"; else xdotool windowfocus --sync "$root_window"; fi
  for _ in $(seq 1 100); do
    read_state
    if [ "$frame" = "$last" ]; then still=$((still + 1)); else still=0; fi
    last="$frame"
    [ "$still" -lt 3 ] || break
    sleep 0.1
  done
  [ "$still" -ge 3 ] || fail "the game did not stop while ${key:-another window had the focus}"
  first="$frame"
  xwd -id "$window" -silent -out "$work/$name.xwd" || fail "xwd could not dump the window"
  read_state
  dumps+=("$name $first $((frame + 1)) ${key:+--panel}")   # the picture shown: that of one of these frames
  if [ -n "$key" ]; then xdotool key "$key"; else xdotool windowfocus --sync "$window"; fi
  ran_on() { read_state && [ "$frame" -gt "$last" ]; }
  wait_until "frame after the focus came back" ran_on
}

# Commands by day: "COMMAND COLOUR" (command 1 breed, 2 hunt, 3 raise funds,
# 4 level up, 5 set a trap; colours 0 yellow, 1 blue, 2 red, 3 green), or 6
# (rest). Every command by day 7; blue and red, the strongest, stay home until
# day 17; from day 17 one colour leaves each day, so that none is home on the
# evening of day 20. Whatever raids took, each order is affordable then.
plan() {
  case "$1" in
    1) echo "5 0" ;; 2) echo "3 0" ;; 3) echo "2 3" ;; 4) echo "4 0" ;; 7) echo "1 0" ;;
    17) echo "1 1" ;; 18) echo "2 0" ;; 19) echo "2 2" ;; 20) echo "2 3" ;;
    *) echo "6" ;;
  esac
}

# move_cursor MENU COLUMN ROW: MENU 0 the command menu, 1 the unit menu.
move_cursor() {
  local at=$((3 * $1))
  while read_state && [ "${menu[at]}" != "$2" ]; do press Right 205; done
  while read_state && [ "${menu[at + 1]}" != "$3" ]; do press Down 208; done
}

commands_given=" "
give_command() {
  local order command colour
  order=($(plan "$day"))
  command=${order[0]}
  colour=${order[1]:-}
  move_cursor 0 $(((command - 1) / 3)) $(((command - 1) % 3))
  press z 44
  if [ "$command" = 6 ]; then
    left_menu() { read_state && [ "$state" != 1 ]; }
    wait_until "end of day $day after resting" left_menu
  else
    in_unit_menu() { read_state && [ "$state" = 2 ]; }
    wait_until "unit menu for command $command" in_unit_menu
    move_cursor 1 $((colour / 2)) $((colour % 2))
    press z 44
    read_state
    [ "$state" = 3 ] || fail "day $day: command $command for colour $colour was refused"
  fi
  commands_given+="$command "
}

all_commands_given() {
  for c in 1 2 3 4 5 6; do [[ "$commands_given" == *" $c "* ]] || return 1; done
}

root_window="$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')"
[ -n "$root_window" ] || fail "no root window"
(cd "$work/data" && exec "$build/anagura" --record "$rec" --trace "$trace") > "$work/out" 2>&1 &
game=$!
wait_until "end of the start-up" start_up_done "$work/data/Log.txt"
wait_for_window "$game"
xdotool windowfocus --sync "$window"

begin=$SECONDS
games=0
defeated=0
while :; do
  [ $((SECONDS - begin)) -lt 480 ] || fail "the games were not over within 480 s"
  kill -0 "$game" 2> /dev/null || fail "the game ended by itself"
  if ! read_state; then sleep 0.02; continue; fi
  case "$scene:$state" in
    title:1)
      if title_waits; then
        [ "$games" -gt 0 ] || dump_window title
        if [ "$defeated" = 1 ] && all_commands_given; then break; fi
        press z 44
        games=$((games + 1))
        wait_until "game scene" in_game
      fi ;;
    game:1)
      if [ "${menu[2]}" = -1 ] && [ "$covered" = 0 ]; then
        if [ "$games:$day" = 1:1 ] && [ ! -e "$work/command-menu.xwd" ]; then
          dump_window command-menu
          dump_window help F1
        fi
        give_command
      fi ;;
    game:5 | game:10)   # a message: "てきしゅうだ！" or "たたかいにしょうりした！"
      [ "$pending" != "$state" ] || press z 44 ;;
    game:8)
      [ -e "$work/battle.xwd" ] || dump_window battle ;;
    game:11)
      defeated=1
      [ -e "$work/defeat.xwd" ] || dump_window defeat ;;
  esac
  sleep 0.05
done
xdotool keydown Escape
ended() { ! kill -0 "$game" 2> /dev/null; }
wait_until "end of the game after Escape" ended
xdotool keyup Escape
wait "$game"
status=$?
game=""
[ "$status" -eq 0 ] || fail "the game exited with status $status"
played=$(($(wc -l < "$trace")))

# What the trace shows was played.
for kind in 0 1 2 3 4; do   # hunt, raise funds, set a trap, breed, level up
  grep -Eq "\"orders\":\[[^a-z]*\[[1-9],$kind," "$trace" || fail "no order of kind $kind in the trace"
done
grep -Eq '"state":3,.*"choice":6,' "$trace" || fail "no day ended by resting"
grep -Eq '"day":([7-9]|[1-9][0-9]),' "$trace" || fail "the days did not go by"
grep -q '"state":5,' "$trace" || fail "no raid"
grep -q '"state":7,' "$trace" || fail "no exchange of blows"
grep -q '"state":11,' "$trace" || fail "no defeat"
tail -n 1 "$trace" | grep -q '"scene":"title"' || fail "the game did not end on the title"

# The same game, replayed headless from the recording: the same trace, and each
# window dump shows the picture of one of the frames it was taken between.
"$build/anagura-replay" --data "$src/assets" --input "$rec" --trace "$work/replay.jsonl" > "$work/out" 2>&1 ||
  fail "the replay failed"
cmp -s "$trace" "$work/replay.jsonl" || fail "the replayed trace differs from the played one"
for entry in "${dumps[@]}"; do
  read -r name from to panel <<< "$entry"
  shots=()
  for ((f = from; f <= to; ++f)); do
    mkdir -p "$work/shots$f"
    "$build/anagura-replay" --data "$src/assets" --input "$rec" --frames "$f" --screenshots "$work/shots$f" \
      --shot-every "$f" > "$work/out" 2>&1 || fail "the replay to frame $f failed"
    shots+=("$work/shots$f/$(printf %08d "$f").png")
  done
  # shellcheck disable=SC2086
  "$build/anagura-shotmatch" $panel "$work/$name.xwd" "${shots[@]}" > /dev/null 2> "$work/out" ||
    fail "the window dump '$name' shows none of frames $from to $to${panel:+ under the help panel}"
done
echo "PASS: $games game(s), $played frames in the window; commands$commands_given; dumps: ${dumps[*]}"
