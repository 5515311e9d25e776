# Sourced by the whole-program tests that play the real game in its X window.
# They play by what the game shows, never by the clock: the game runs with
# --trace "$trace" (written frame by frame) and --record "$rec"; a key is held
# until the recording shows the game read it down, then released until it shows
# it up. The test defines fail() and sets $game to the game's process id.

source "$(dirname "${BASH_SOURCE[0]}")/ProgramTest.bash"

# A new player: a home folder of their own (made), no XDG folder named, so that
# settings, log and key file go where they go on a fresh account and nothing of
# the machine's user is read.
new_player() {
  export HOME="$1"
  unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME
  mkdir -p "$HOME"
}

# The trap of such a test: ends the game, removes the folder $work and the
# game's single-instance lock ($ANAGURA_INSTANCE_LOCK).
end_test() {
  [ -z "$game" ] || kill "$game" 2> /dev/null
  chmod -R u+w "$work" 2> /dev/null
  rm -rf "$work"
  rm -f "${XDG_RUNTIME_DIR:-/nonexistent}/$ANAGURA_INSTANCE_LOCK.lock"* "/tmp/$ANAGURA_INSTANCE_LOCK-"*.lock*
}

# The last complete line of a file that is being written ("" before the first).
last_line() {
  local text
  text="$(tail -n 2 "$1" 2> /dev/null; printf x)"
  text="${text%x}"
  if [[ "$text" != *$'\n' ]]; then   # an unfinished last line is left out
    [[ "$text" == *$'\n'* ]] || return 0
    text="${text%$'\n'*}"
  fi
  text="${text%$'\n'}"
  [[ "$text" == *$'\n'* ]] && text="${text##*$'\n'}"
  printf '%s' "$text"
}

# The game as its trace shows it at the end of its last frame: frame, scene,
# state, pending (the state a fade leads to), covered (the fade's counter),
# and in the game scene day and menu (the command menu's column, row and
# selection, then the same of the unit menu). False before the first frame.
frame=-1 scene="" state="" pending="" covered="" day=0 menu=(0 0 0 0 0 0)
read_state() {
  local n='(-?[0-9]+)' line
  line="$(last_line "$trace")"
  [[ "$line" =~ \"frame\":$n,\"scene\":\"([a-z]+)\",\"state\":$n,\"pendingState\":$n,\"fade\":\[$n,$n,$n\] ]] || return 1
  frame=${BASH_REMATCH[1]} scene=${BASH_REMATCH[2]} state=${BASH_REMATCH[3]} pending=${BASH_REMATCH[4]}
  covered=${BASH_REMATCH[6]}
  [ "$scene" = game ] || return 0
  [[ "$line" =~ \"day\":$n ]] && day=${BASH_REMATCH[1]}
  [[ "$line" =~ \"menus\":\[\[$n,$n,$n\],\[$n,$n,$n\]\] ]] && menu=("${BASH_REMATCH[@]:1:6}")
  return 0
}

# The recording's last line is "FRAME CODE...": the codes down from that frame on
# (a frame number may equal a code: only the fields after it are codes).
key_down() {
  local fields
  read -r -a fields <<< "$(last_line "$rec")"
  [[ "${fields[0]:-#}" != \#* ]] && [[ " ${fields[*]:1} " == *" $1 "* ]]
}
key_up() { ! key_down "$1"; }
# press KEYSYM CODE: the key, by its X name and its scan code in the recording.
press() {
  xdotool keydown "$1"
  wait_until "key $1 read down" key_down "$2"
  xdotool keyup "$1"
  wait_until "key $1 read up" key_up "$2"
}

title_waits() { read_state && [ "$scene:$state:$pending:$covered" = title:1:1:0 ]; }
in_game() { read_state && [ "$scene" = game ]; }
