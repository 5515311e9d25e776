#!/usr/bin/env bash
# Every bad installation, one row each, tried on the real program in a copy of
# the data folder: what it must say (on stderr, each line once, and nothing
# else starting with "anagura:"), what Log.txt must hold, whether it stays
# playable (it answers the decide key on the title and in the command menu, and
# a close request ends it with status 0) or ends at once with status 1 (saying
# nothing else on stderr), and that nothing of the installation is changed or
# lost. A key file's every fault, word for word, is FailureReportTest's.
set -u
build="$1"
src="$2"
source "$src/tests/GameDriver.bash"
require_x_window
require_tools setpriv xmessage xwininfo

work="$(mktemp -d)"
chmod 755 "$work"   # the read-only row runs the game as an unprivileged user
export ANAGURA_INSTANCE_LOCK="anagura-bad-install-test-$$"
game="" first="" cover=""
trap 'kill $first $cover 2> /dev/null; end_test' EXIT
fail() {
  echo "FAIL: $row: $*"
  cat "$run/err" 2> /dev/null
  iconv -f CP932 -t UTF-8 "$logfile" 2> /dev/null
  echo
  exit 1
}

damaged() { printf 'not what it claims to be %.0s' $(seq 1 80) > "$1"; }
hide_japanese_fonts() { echo '<fontconfig><selectfont><rejectfont><pattern><patelt name="lang"><string>ja</string>
  </patelt></pattern></rejectfont></selectfont></fontconfig>' > fonts/fonts.conf; }
halve() { head -c $(($(stat -c %s "$1") / 2)) "$1" > "$1.half" && mv "$1.half" "$1"; }

# describe ROW: what the row does and the answer it must get.
#   prepare   commands run in the installation before the start
#   told      lines the game must write on stderr, each once
#   alike     a pattern of further "anagura:" lines allowed (files failing alike)
#   logged    lines Log.txt must hold (UTF-8 here)
#   audio     SDL's audio driver: "dummy", a sound device that works (the
#             sound files are read only when sound plays: a player's machine
#             has a device, a test machine may not), or "none": no device at all
#   player    1: run as an unprivileged user (a read-only folder is one only to such)
#   display   0: no display at all (no DISPLAY, no WAYLAND_DISPLAY); dead: one
#             that does not answer, and no XDG_RUNTIME_DIR
#   beside    1: the row's copy must bring the window of a copy already running to the front
#   playable  1: keys work and a close request ends it with 0; 0: it ends by itself with status 1
#   ending    the signal of the close request (closing the terminal is HUP)
#   extra     further options of the game; closed: its status after the close request
#   during    commands run while it plays; after: a check once it ended
describe() {
  prepare=":" told=() alike='^$' logged=() audio=dummy player=0 playable=1 display=1 ending=TERM beside=0
  extra=() closed=0 during=":" after=":"
  local sound_failed="右記の音声ファイルのロードに失敗しました_1："
  local picture_failed="右記のグラフィックファイルのロードに失敗しました："
  local defaults=": the default keys are used (arrows, Z, X)"
  local title_pictures="image/kumo.bmp, image/jimen.bmp, image/yama.bmp, image/CharY.bmp, image/CharR.bmp,"
  title_pictures+=" image/CharG.bmp, image/CharB.bmp, image/TitleLogo.bmp, image/PushZkey.bmp"
  local game_pictures="image/Number.png, image/map_chip.bmp, image/map_chip_ana.bmp, image/Flame1.bmp,"
  game_pictures+=" image/Flame2.bmp, image/TrophicIcon.bmp, image/MoneyIcon.bmp, image/Icon_Trap.bmp,"
  game_pictures+=" image/Icon_Date.bmp, image/LVIcon.bmp, image/Arrow.bmp, image/HeiIcon.bmp"
  local undecodable="cannot be decoded as BMP, PNG or JPEG: nothing is drawn in its place"
  case "$1" in
    intact) ;;
    no-image)
      prepare="rm -r image"
      told=("anagura: no data folder found (no image/ here nor in ../share/games/anagura beside the program): running in the working folder"
            "anagura: pictures $title_pictures are missing: nothing is drawn in their place"
            "anagura: pictures $game_pictures are missing: nothing is drawn in their place")
      logged=("グラフィックファイル image/TitleLogo.bmp がありません" "グラフィックファイル image/map_chip.bmp がありません") ;;
    no-sound)
      prepare="rm -r sound"
      told=("anagura: sound sound/Normal1.mp3 cannot be read (No such file or directory)"
            "anagura: sound sound/Dec.wav cannot be read (No such file or directory)")
      alike='^anagura: sound sound/[A-Za-z0-9_]+\.wav cannot be read \(No such file or directory\)$'
      logged=("${sound_failed}sound/Normal1.mp3" "${sound_failed}sound/Dec.wav") ;;
    unpressable)
      # Five codes: down code 0, left F11; decide stays Z, so the game is played.
      prepare="printf '\\5\\0\\0\\0\\310\\0\\0\\0\\0\\0\\0\\0\\315\\0\\0\\0\\127\\0\\0\\0\\54\\0\\0\\0' > Data/KeyData.dat"
      told=("anagura: key file Data/KeyData.dat: these buttons can never be pressed: down (code 0: no key has it), left (F11 switches fullscreen), cancel (the file holds 5 codes) (anagura-keys changes them; anagura-keys reset gives the default keys)")
      logged=("Key file Data/KeyData.dat: these buttons can never be pressed: down (code 0: no key has it)") ;;
    no-data)
      prepare="rm -r Data"
      told=("anagura: key file Data/KeyData.dat cannot be opened (No such file or directory)$defaults")
      logged=("Key file Data/KeyData.dat cannot be opened (No such file or directory)$defaults") ;;
    damaged)
      prepare="damaged image/TitleLogo.bmp; damaged image/map_chip.bmp; damaged sound/Normal1.mp3;"
      prepare+=" damaged sound/Dec.wav; damaged Data/KeyData.dat"
      told=("anagura: sound sound/Normal1.mp3 cannot be decoded as WAV, MP3 or Ogg Vorbis"
            "anagura: sound sound/Dec.wav cannot be decoded as WAV, MP3 or Ogg Vorbis"
            "anagura: key file Data/KeyData.dat gives a count of 544501614 but holds 499 codes$defaults"
            "anagura: picture image/TitleLogo.bmp $undecodable" "anagura: picture image/map_chip.bmp $undecodable")
      logged=("${picture_failed}image/TitleLogo.bmp" "${picture_failed}image/map_chip.bmp"
              "${sound_failed}sound/Normal1.mp3" "${sound_failed}sound/Dec.wav") ;;
    empty)
      prepare=": > image/TitleLogo.bmp; : > image/Number.png; : > sound/Normal1.mp3; : > sound/Dec.wav;"
      prepare+=" : > Data/KeyData.dat"
      told=("anagura: sound sound/Normal1.mp3 cannot be decoded as WAV, MP3 or Ogg Vorbis"
            "anagura: sound sound/Dec.wav cannot be decoded as WAV, MP3 or Ogg Vorbis"
            "anagura: key file Data/KeyData.dat is empty$defaults"
            "anagura: picture image/TitleLogo.bmp $undecodable" "anagura: picture image/Number.png $undecodable")
      logged=("${picture_failed}image/TitleLogo.bmp" "${picture_failed}image/Number.png"
              "${sound_failed}sound/Normal1.mp3" "${sound_failed}sound/Dec.wav") ;;
    truncated)
      # A sound cut short plays what it holds; one cut inside its header is refused.
      prepare="halve image/TitleLogo.bmp; halve image/map_chip.bmp; halve sound/Normal1.mp3; halve sound/Dec.wav;"
      prepare+=" head -c 30 $src/assets/sound/Select.wav > sound/Select.wav; halve Data/KeyData.dat"
      told=("anagura: sound sound/Select.wav cannot be decoded as WAV, MP3 or Ogg Vorbis"
            "anagura: key file Data/KeyData.dat gives a count of 6 but holds 2 codes$defaults"
            "anagura: picture image/TitleLogo.bmp $undecodable" "anagura: picture image/map_chip.bmp $undecodable")
      logged=("${picture_failed}image/TitleLogo.bmp" "${picture_failed}image/map_chip.bmp"
              "${sound_failed}sound/Select.wav") ;;
    damaged-settings)
      # Each line that gives no setting is named and skipped; the game starts as without them.
      prepare="mkdir -p $settings_folder && damaged $settings_folder/settings.ini &&"
      prepare+=" printf '\\nscale = 99\\nvolume = 5\\n' >> $settings_folder/settings.ini"
      told=("anagura: settings $settings_folder/settings.ini: line 1: not \"name = value\", ignored"
            "anagura: settings $settings_folder/settings.ini: line 2: bad value \"99\" for scale (1 to 8), ignored"
            "anagura: settings $settings_folder/settings.ini: line 3: unknown setting \"volume\", ignored")
      logged=("Settings $settings_folder/settings.ini: line 1: not \"name = value\", ignored") ;;
    settings-folder)
      prepare="mkdir -p $settings_folder/settings.ini/kept && echo 'a file of the player' > $settings_folder/settings.ini/kept/file"
      told=("anagura: settings $settings_folder/settings.ini: is a folder, ignored")
      logged=("Settings $settings_folder/settings.ini: is a folder, ignored") ;;
    read-only)
      # The log and the player's own key file go to the player's folder.
      prepare="chmod -R a+rX . && chmod a-w ."
      player=1
      logged=("ChangeWindowMode実行 ") ;;
    log-folder)
      prepare="mkdir -p Log.txt/kept && echo 'a file of the player' > Log.txt/kept/file"
      told=("anagura: cannot write Log.txt (Is a directory): the game runs without a log") ;;
    no-audio)
      audio=none
      told=("anagura: no sound output (Audio target 'none' not available): the game runs silent")
      logged=("Sound output is not available: the game runs silent") ;;
    muted)
      audio=none extra=(--mute) ;;   # no sound device is opened, so none is missed
    no-display)
      display=0 playable=0
      told=("anagura: cannot open the window: no display (SDL fell back to its \"offscreen\" video driver; set DISPLAY or WAYLAND_DISPLAY, or SDL_VIDEODRIVER=offscreen to run without a visible window)")
      logged=("ウインドウの作成に失敗しました") ;;
    not-files)
      prepare="mkdir -p $settings_folder && ln -s /dev/zero $settings_folder/settings.ini && rm Data/KeyData.dat && mkfifo Data/KeyData.dat"
      told=("anagura: settings $settings_folder/settings.ini: is not a plain file but a device, ignored"
            "anagura: key file Data/KeyData.dat is not a plain file but a FIFO$defaults") ;;
    flood)
      # The same bad line once with its count; at most 100 kinds of them.
      prepare="mkdir -p $settings_folder && yes bad | head -n 4000 > $settings_folder/settings.ini &&"
      prepare+=" seq -f 'name%g = 1' 101 >> $settings_folder/settings.ini && head -c 70000 /dev/zero > Data/KeyData.dat"
      told=("anagura: settings $settings_folder/settings.ini: line 1: not \"name = value\", ignored (and 3,999 more like it)"
            "anagura: settings $settings_folder/settings.ini: and 2 more lines that give no setting, ignored"
            "anagura: key file Data/KeyData.dat is larger than 65536 bytes$defaults")
      alike="^anagura: settings $settings_folder/settings.ini: line [0-9]+: unknown setting \"name[0-9]+\", ignored$" ;;
    settings-link)
      # A setting written while the game runs keeps what was written into the file since, its link and its mode.
      prepare="mkdir -p $settings_folder $run/kept && echo 'scale = 2' > $run/kept/settings.ini && chmod 600 $run/kept/settings.ini &&"
      prepare+=" ln -s ../../../kept/settings.ini $settings_folder/settings.ini && touch -d '-1 hour' $run/kept/settings.ini.aB3xY9"
      during="echo 'mute = 1' >> $run/kept/settings.ini && xdotool key F11 && wait_until 'fullscreen written' grep -q fullscreen $run/kept/settings.ini"
      after="[ -L $settings_folder/settings.ini ] && [ \$(stat -c %a $run/kept/settings.ini) = 600 ] &&"
      after+=" grep -qx 'mute = 1' $run/kept/settings.ini && [ ! -e $run/kept/settings.ini.aB3xY9 ]" ;;
    disk-full)
      extra=(--calls /dev/full) closed=1
      told=("anagura: cannot write the calls \"/dev/full\": the game plays on without it" "anagura: cannot write the calls")
      during="wait_until 'the failure said at once' grep -q 'plays on' $run/err" ;;
    hang-up) ending=HUP ;;
    quit-signal) ending=QUIT ;;
    dead-display)
      display=dead playable=0
      told=("anagura: cannot open the window: the display \":$dead\" (DISPLAY) does not answer (SDL fell back to its \"offscreen\" video driver; is that display running and open to this user? over SSH use ssh -X; or SDL_VIDEODRIVER=offscreen to run without a visible window)")
      logged=("ウインドウの作成に失敗しました") ;;
    no-fonts)
      prepare="hide_japanese_fonts"
      told=("anagura: no font with Japanese characters was found: the text shows as boxes or not at all (install fonts-misaki and fonts-ipafont-gothic)")
      logged=("Fonts: no font with Japanese characters was found") ;;
    second-copy)
      beside=1 playable=0
      told=("anagura: another copy is already running: its window is brought to the front")
      logged=("Another start of the game: the window is brought to the front") ;;
  esac
}
rows=(intact hang-up quit-signal not-files flood settings-link disk-full no-image no-sound unpressable no-data damaged empty truncated damaged-settings settings-folder read-only log-folder
  no-audio muted no-display dead-display no-fonts second-copy)
dead=90; while [ -e "/tmp/.X11-unix/X$dead" ]; do dead=$((dead + 1)); done

# The installation's files and the player's settings, and what they hold, Log.txt aside.
contents() {
  (cd "$install" && find . -type f ! -path ./Log.txt -print0 | sort -z | xargs -0 sha256sum)
  (cd "$run/home" && find .config -type f -print0 2> /dev/null | sort -z | xargs -0 -r sha256sum)
}

# start [NAME]: starts the game in the row's installation, as the row's user, with its outputs in $run/NAMEout, NAMEerr.
start() {
  local as=() unset=(-u WAYLAND_DISPLAY -u SDL_VIDEODRIVER) set=(XDG_RUNTIME_DIR="$run/home")
  [ "$player" = 0 ] || as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  [ "$display" = 1 ] || unset+=(-u DISPLAY)
  [ "$display" != dead ] || unset+=(-u XDG_RUNTIME_DIR) set=(DISPLAY=":$dead")
  (cd "$install" && new_player "$run/home" &&
    exec env "${unset[@]}" SDL_AUDIODRIVER="$audio" "${set[@]}" \
    "${as[@]}" "$build/anagura" --record "$rec" --trace "$trace" "${extra[@]}") > "$run/${1:-}out" 2> "$run/${1:-}err" &
  game=$!
}

# A copy already running in the installation, under a window that covers it; then
# the running copy's window must come above the covering one, and both end.
start_running_copy() {
  rec="$run/first.rec" trace="$run/first.jsonl" start first- && first=$game
  trace="$run/first.jsonl" wait_until "the running copy's first frame" read_state
  xmessage -geometry 1000x700+0+0 "over the game" 2> /dev/null & cover=$!
  windows=("$(xdotool search --onlyvisible --pid "$first" | head -n 1)" "$(xdotool search --sync --onlyvisible --class Xmessage)")
}
check_brought_to_front() {
  on_top() { xwininfo -root -children | grep -oE " ($(printf '0x%x|0x%x' "${windows[@]}")) " | head -n 1 | grep -q "$(printf '0x%x' "$windows")"; }
  game=$first wait_until "the running copy's window in front" on_top
  kill "$first" "$cover" && wait "$first" "$cover" 2> /dev/null; first="" cover=""
}

# Plays the title and the command menu with the decide key, then asks the game to close.
play() {
  started() { read_state; }
  wait_until "first frame" started
  local window
  wait_for_window "$game"
  xdotool windowfocus --sync "$window"
  wait_until "title" title_waits
  press z 44
  in_menu() { read_state && [ "$scene:$state:${menu[2]}" = game:1:-1 ]; }
  wait_until "command menu" in_menu
  press z 44
  in_unit_menu() { read_state && [ "$state" = 2 ]; }
  wait_until "unit menu after the decide key" in_unit_menu
  eval "$during"
  kill -"$ending" "$game"
}

count_lines() { grep -cxF -- "$1" "$run/err"; }

for row in "${rows[@]}"; do
  run="$work/$row"
  settings_folder="$run/home/.config/anagura"
  describe "$row"
  install="$run/data"
  mkdir -p "$install" "$run/home"
  cp -r "$src/assets/image" "$src/assets/sound" "$src/assets/Data" "$src/assets/fonts" "$install/"
  (cd "$install" && eval "$prepare") || fail "the installation could not be prepared"
  chmod 777 "$run" "$run/home"
  rec="$run/game.rec" trace="$run/game.jsonl" logfile="$install/Log.txt"
  [ "$player" = 0 ] || logfile="$run/home/.local/share/anagura/Log.txt"
  before="$(contents)"
  [ "$beside" = 0 ] || start_running_copy
  begin=$(date +%s%N)
  start
  if [ "$playable" = 1 ]; then play; fi
  wait "$game"
  status=$?
  game=""
  took=$((($(date +%s%N) - begin) / 1000000))
  [ "$beside" = 0 ] || check_brought_to_front
  if [ "$playable" = 1 ]; then
    [ "$status" -eq "$closed" ] || fail "exit status $status after a close request"
    eval "$after" || fail "the files are not as due: $(ls -l "$run/kept" 2> /dev/null; cat "$run/kept/settings.ini" 2> /dev/null)"
    [[ "$(tail -n 1 "$rec")" =~ ^"# frames "[1-9] ]] || fail "the recording does not end with its frames"
  else
    [ "$status" -eq 1 ] || fail "exit status $status; 1 was due"
    [ "$took" -le 2000 ] || fail "it took $took ms to give up"
    grep -vxF -f <(printf '%s\n' "${told[@]}") "$run/err" && fail "stderr says more than the lines above"
  fi
  for line in "${told[@]}"; do
    [ "$(count_lines "$line")" = 1 ] || fail "stderr does not say once: $line"
  done
  while IFS= read -r line; do
    printf '%s\n' "${told[@]}" | grep -qxF -- "$line" || [[ "$line" =~ $alike ]] || fail "stderr says more: $line"
  done < <(grep '^anagura:' "$run/err")
  for line in "${logged[@]}"; do
    log_has "$logfile" "$line" || fail "Log.txt lacks: $line"
  done
  [ "$(contents)" = "$before" ] || fail "the installation or the settings were changed"
  echo "ok: $row (status $status, $took ms)"
done

# No display: the next start is not taken for a second copy.
row=no-display-again run="$work/no-display"
describe no-display
start
wait "$game"
game=""
grep -q "another copy" "$run/err" && fail "the next start was refused as a second copy"
grep -q "cannot open the window" "$run/err" || fail "the next start did not fail the same way"

# A read-only installation: the player's own copy of the key file was made.
cmp -s "$src/assets/Data/KeyData.dat" "$work/read-only/home/.local/share/anagura/Data/KeyData.dat" ||
  { row=read-only; fail "no key file in the player's folder"; }
# A recording cut short (killed, the power went) plays to its last key change;
# a malformed first line is refused by its number.
row=cut-recording rec="$work/intact/game.rec" cut="$work/cut.rec"
grep -v '^# frames' "$rec" > "$cut" && printf '99999 4' >> "$cut"
last="$(grep -v '^#' "$cut" | tail -n 2 | head -n 1)"
XDG_DATA_HOME="$work" "$build/anagura-replay" --data "$src/assets" --input "$cut" --trace "$work/cut.jsonl" 2> "$work/cut.err" ||
  fail "the cut recording was refused: $(cat "$work/cut.err")"
grep -q "cut short): played to its last key change, frame ${last%% *}$" "$work/cut.err" || fail "no warning: $(cat "$work/cut.err")"
[[ "$(tail -n 1 "$work/cut.jsonl")" == "{\"frame\":${last%% *},"* ]] || fail "the replay did not end at frame ${last%% *}"
printf '# seed 12x\n40 44\n' > "$cut"
"$build/anagura-replay" --data "$src/assets" --input "$cut" 2> "$work/cut.err"
[ $? = 2 ] && grep -q 'line 1: "# seed" takes one number' "$work/cut.err" || fail "a bad seed line was taken"
# What is no input script is refused and named; bytes of a bad one are shown safely.
printf '40 \033]0;x\a\n' > "$cut"
for input in "$work" /dev/zero "$cut"; do
  "$build/anagura-replay" --data "$src/assets" --input "$input" 2> "$work/cut.err"
  [ $? = 2 ] && grep -q 'is a folder$\|is not a plain file but a device$\|got "?]0;x?"; nothing was run$' "$work/cut.err" ||
    fail "anagura-replay --input $input: $(cat -v "$work/cut.err")"
done
# A damaged key file is said before a change starts from the default keys.
row=keys-damaged
damaged "$work/intact/data/Data/KeyData.dat"
HOME="$work/intact/home" "$build/anagura-keys" --data "$work/intact/data" set decide=Return > /dev/null 2> "$work/keys.err"
grep -q "gives a count of 544501614 but holds 499 codes: the change starts from the default keys" "$work/keys.err" ||
  fail "no word of the damaged key file: $(cat "$work/keys.err")"
echo "PASS: ${#rows[@]} installations"
