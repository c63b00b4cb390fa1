# The cases of game_test.sh, one function each. They run in order, each in its own X server:
# first_start leaves its save files for game_over, which leaves them for second_start.

readonly opening_floor=0.01  # RMS of a tune playing; silence stays below a thousandth
readonly silence_ceiling=0.001

# Presses and releases a key slowly enough for the game to see it in a frame of its own.
press() {
  local key
  for key in "$@"; do
    xdotool keydown "$key"
    sleep 0.15
    xdotool keyup "$key"
    sleep 0.25
  done
}

# The game picture as fumbo-replay draws it 7 s into a run in a folder holding the files given.
reference_picture() {
  local name=$1
  shift
  local folder="$out/reference_$name"
  rm -rf "$folder"
  mkdir -p "$folder/files"
  local file
  for file in "$@"; do cp "$file" "$folder/files/"; done
  printf 'at 7000 snap %s\nend 7000\n' "$name" >"$folder/script.txt"
  "$replay" --folder "$folder/files" --script "$folder/script.txt" --out "$folder" \
    >/dev/null 2>&1 || fail "fumbo-replay could not draw the reference $name"
  convert "$folder/$name.bmp" "$out/$name.png"
  echo "$out/$name.png"
}

wait_main_window() {
  wait_for "the main window" 60 xdotool search --onlyvisible --name 'Fumbo!2nd' ||
    fail "the main window never came"
  local w
  w=$(main_window)
  xdotool windowactivate --sync "$w" 2>/dev/null || true
  echo "$w"
}

# The seconds of the caption clock, or nothing while the caption shows no clock.
caption_seconds() {
  xdotool getwindowname "$1" | sed -n "s/^$caption_prefix \[ \([0-9]*\) 秒 \]$/\1/p"
}

check_splash() {
  wait_for "the splash" 20 xdotool search --onlyvisible --name '^Ad of Rilo$' || fail "no splash"
  local splash
  splash=$(visible_window '^Ad of Rilo$')
  [ "$(client_size "$splash")" = "200 70" ] || fail "splash of $(client_size "$splash")"
  sleep 1
  shot "$splash" splash >/dev/null
}

has_caption_clock() { [ -n "$(caption_seconds "$1")" ]; }

check_caption_clock() {
  local w=$1 first second
  wait_for "the caption clock" 5 has_caption_clock "$w" ||
    fail "caption '$(xdotool getwindowname "$w")'"
  first=$(caption_seconds "$w")
  sleep 3.3
  second=$(caption_seconds "$w")
  ((second >= first + 2 && second <= first + 4)) || fail "the clock went from $first to $second"
}

# The well, the NEXT box and the panel where they belong, against the picture fumbo-replay
# draws from the same (empty) folder; only the pair, the NEXT digits and the random super
# threshold may differ.
check_first_screen() {
  local picture=$1 reference=$2 region
  [ "$(pair_columns "$picture")" = 4 ] || fail "the first pair is not in column 4"
  for region in 80x300+20+50 100x300+120+50 155x160+225+55 155x50+225+250 380x50+0+350; do
    local n
    n=$(differing_pixels "$picture" "$reference" "$region")
    ((n == 0)) || fail "$n pixels of $region differ from the reference"
  done
  local top bottom
  top=$(white_pixels "$picture" 20x20+230+15)
  bottom=$(white_pixels "$picture" 20x20+230+35)
  ((top >= 5 && bottom >= 5)) || fail "the NEXT box shows no digits ($top, $bottom)"
}

# Down, Left, Right, X and Z on the falling pair, read back from screenshots. The drops come
# first: a pair lying across the spawn row is above the well and not drawn.
check_moves() {
  local w=$1 before after
  before=$(pair_top "$(shot "$w" before_down)")
  press Down Down Down Down Down
  after=$(pair_top "$(shot "$w" after_down)")
  ((after >= 100 && after >= before + 50)) ||
    fail "five soft drops moved the pair from $before to $after"
  local step keys expected columns
  for step in "Left:3" "Right:4" "Right:5" "x:4 5" "z:5"; do
    keys=${step%%:*}
    expected=${step#*:}
    press "$keys"
    columns=$(pair_columns "$(shot "$w" "after_$keys")")
    [ "$columns" = "$expected" ] || fail "after $keys the pair is in columns '$columns'"
  done
}

# Esc opens the option screen; Right raises the key sensitivity to 1, Down and Right switch
# the music on, and the audio carries the tune from then on; Esc closes the screen.
check_option_screen() {
  local w=$1 play_from=$2 picture option
  picture=$(shot "$w" before_option)
  press Escape
  sleep 1
  option=$(shot "$w" option)
  local changed
  changed=$(differing_pixels "$picture" "$option" 380x400+0+0)
  ((changed > 40000)) || fail "the option screen changed only $changed pixels"
  press Right Down
  local music_from
  music_from=$(audio_position)
  audio_louder_than "$play_from" "$music_from" 0 || fail "no audio written"
  ! audio_louder_than "$play_from" "$music_from" "$silence_ceiling" ||
    fail "sound while music and effects were off ($(audio_level "$play_from" "$music_from"))"
  press Right
  sleep 3
  audio_louder_than $((music_from + audio_bytes_per_second / 2)) "$(audio_position)" \
    "$opening_floor" || fail "no tune after switching music on"
  shot "$w" option_music_on >/dev/null
  press Escape
  sleep 1
  [ -n "$(pair_columns "$(shot "$w" option_closed)")" ] || fail "the play screen did not return"
}

# The close question: No keeps the game going, Yes ends it through the exit messages.
quit_by_close() {
  local w=$1 box bw bh
  wmctrl -i -c "$w"
  read -r box bw bh <<<"$(message_box question_no)"
  answer_box "$box" Right Return
  wait_for "the main window again" 5 xdotool search --onlyvisible --name 'Fumbo!2nd' ||
    fail "No closed the game"
  local first
  first=$(caption_seconds "$w")
  sleep 1.5
  [ "$(caption_seconds "$w")" != "$first" ] || fail "the clock stood still after No"
  wmctrl -i -c "$w"
  read -r box bw bh <<<"$(message_box question_yes)"
  answer_box "$box" Return
  answer_exit_messages
}

# The high-score message and the frame-rate message, each answered with Return; the second
# is the larger box of five lines.
answer_exit_messages() {
  local box bw bh score_height
  read -r box bw bh <<<"$(message_box high_score_message)"
  [ -z "$(main_window)" ] || fail "the main window is still shown under the messages"
  score_height=$bh
  answer_box "$box" Return
  read -r box bw bh <<<"$(message_box exit_message)"
  ((bh > score_height + 40)) || fail "the exit message is no taller than the first ($bh)"
  answer_box "$box" Return
  await_game_end 10
  [ "$game_status" = 0 ] || fail "the game ended with status $game_status"
}

expect_file() {
  [ -f "$1" ] || fail "$1 is missing"
  [ "$(hex_of "$1")" = "$2" ] || fail "$(basename "$1") holds $(hex_of "$1"), expected $2"
}

keep_save_files() {
  mkdir -p "$2"
  cp "$1/user.ini" "$1/HighSc.sav" "$2/"
}

case_first_start() {
  local folder="$out/program"
  make_program_folder "$folder"
  start_game "$folder"
  check_splash
  local w play_from
  w=$(wait_main_window)
  play_from=$(($(audio_position) + audio_bytes_per_second))
  # The opening tune starts with the splash.
  audio_louder_than "$audio_bytes_per_second" $((3 * audio_bytes_per_second)) "$opening_floor" ||
    fail "no opening tune during the splash"
  [ "$(client_size "$w")" = "380 400" ] || fail "client area $(client_size "$w")"
  check_caption_clock "$w"
  check_first_screen "$(shot "$w" first_screen)" "$(reference_picture empty_folder)"
  check_moves "$w"
  check_option_screen "$w" "$play_from"
  quit_by_close "$w"
  # Five soft drops scored five points at level 1: a record over the empty file.
  expect_file "$folder/user.ini" 01ffff0000
  expect_file "$folder/HighSc.sav" 000005000000050000000100000000000000000000
  keep_save_files "$folder" "$saved/first_start"
}

# Lit pixels of a screenshot outside the rectangle of the game-over title.
lit_outside_title() {
  echo $(($(lit_pixels "$1" 380x400+0+0) - $(lit_pixels "$1" 260x50+60+175)))
}

# Watches the screen until the window goes: the blinds close to black and the title fades in
# on its own. Keeps the last screenshot with everything but the title dark.
watch_game_over() {
  local w=$1 end=$((SECONDS + 150)) picture="$out/watch.png" seen=""
  while ((SECONDS < end)) && xwininfo -id "$w" 2>/dev/null | grep -q IsViewable; do
    if import -window "$w" "$picture" 2>/dev/null && [ "$(lit_outside_title "$picture")" = 0 ]; then
      cp "$picture" "$out/game_over_title.png"
      seen=1
    fi
    sleep 0.1
  done
  ((SECONDS < end)) || fail "no game over within 150 s"
  [ -n "$seen" ] || fail "the window went without the blinds closing"
  local title
  title=$(lit_pixels "$out/game_over_title.png" 260x50+60+175)
  ((title > 3000)) || fail "only $title pixels of the title are lit"
}

# Down held from the first frame with key sensitivity 1 fills the well in some seconds.
case_game_over() {
  local folder="$out/program"
  make_program_folder "$folder" "$saved/first_start/user.ini" "$saved/first_start/HighSc.sav"
  start_game "$folder"
  local w
  w=$(wait_main_window)
  xdotool keydown Down
  watch_game_over "$w"
  xdotool keyup Down
  answer_exit_messages
  expect_file "$folder/user.ini" 01ffff0000
  local record
  record=$(hex_of "$folder/HighSc.sav")
  [ ${#record} = 42 ] || fail "HighSc.sav holds $record"
  [ "${record:0:4}${record:34:8}" = 000000000000 ] || fail "reserved bytes of $record changed"
  [ "${record:4:8}" = "${record:12:8}" ] || fail "RecScore and HiScore differ in $record"
  [ "${record:12:8}" != 05000000 ] || fail "a game of held Down scored no more than 5"
  keep_save_files "$folder" "$saved/game_over"
}

# The files of the game over read back: the music plays from the start of play and the
# panel shows the high score exactly as fumbo-replay draws it from the same files.
case_second_start() {
  local folder="$out/program"
  make_program_folder "$folder" "$saved/game_over/user.ini" "$saved/game_over/HighSc.sav"
  start_game "$folder"
  local w shown
  w=$(wait_main_window)
  shown=$(audio_position)
  sleep 2.5
  audio_louder_than $((shown + audio_bytes_per_second / 2)) "$(audio_position)" "$opening_floor" ||
    fail "no game tune from the start of play"
  local picture reference empty n
  picture=$(shot "$w" second_screen)
  reference=$(reference_picture saved_files "$folder/user.ini" "$folder/HighSc.sav")
  empty=$(reference_picture empty_folder)
  n=$(differing_pixels "$picture" "$reference" 205x20+20+375)
  ((n == 0)) || fail "$n pixels of the high score differ from the reference"
  n=$(differing_pixels "$picture" "$empty" 205x20+20+375)
  ((n > 0)) || fail "the high score looks the same as a high score of 0"
  wmctrl -i -c "$w"
  local box bw bh
  read -r box bw bh <<<"$(message_box question)"
  answer_box "$box" Return
  answer_exit_messages
  cmp -s "$folder/HighSc.sav" "$saved/game_over/HighSc.sav" || fail "HighSc.sav changed"
  cmp -s "$folder/user.ini" "$saved/game_over/user.ini" || fail "user.ini changed"
}

# A folder with a corrupt game tune, no opening tune and a landing sound that is no WAV:
# the real program plays on with music and effects switched on, says what it cannot play,
# and leaves the bytes beyond the records of its save files alone.
case_broken_files() {
  local folder="$out/program"
  make_program_folder "$folder"
  rm "$folder/Opening.mid"
  head -c 600 /dev/urandom >"$folder/Game.mid"
  echo "not a wave" >"$folder/Fall.wav"
  printf '\000\377\377\377\377tail' >"$folder/user.ini"
  cp "$folder/Game.mid" "$out/Game.mid.before"
  start_game "$folder"
  local w
  w=$(wait_main_window)
  press Down Down Down Down Down Down Down Down Down Down Down Down Down Down Down Down
  check_caption_clock "$w"
  local line
  for line in "Opening.mid: no such file" "Game.mid: not a standard MIDI file" \
    "Fall.wav: not a WAV file"; do
    [ "$(grep -c -- "$line" "$out/stderr.txt")" = 1 ] || fail "standard error lacks '$line'"
  done
  wmctrl -i -c "$w"
  local box bw bh
  read -r box bw bh <<<"$(message_box question)"
  answer_box "$box" Return
  answer_exit_messages
  expect_file "$folder/user.ini" 00ffffffff7461696c
  cmp -s "$folder/Game.mid" "$out/Game.mid.before" || fail "the corrupt tune was changed"
}

# A display number nobody serves, claimed as start_x_session claims its own.
unserved_display() {
  local n
  for n in $(shuf -i 100-999 -n 40); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    mkdir "/tmp/.fumbo-e2e-display-$n" 2>/dev/null || continue
    echo "$n"
    return 0
  done
  fail "no free display number"
}

# Without a display the game says so in one line and ends with status 1 at once (the bound
# only catches a game that plays on unseen), reading and writing nothing.
case_no_display() {
  local folder="$out/program" n status run
  make_program_folder "$folder"
  n=$(unserved_display)
  for run in unset unserved; do
    status=0
    if [ $run = unset ]; then set -- -u DISPLAY; else set -- DISPLAY=":$n"; fi
    ASAN_OPTIONS=detect_leaks=0 timeout -k 1 10 env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$@" \
      "$folder/fumbo2" >"$out/stdout.txt" 2>"$out/stderr_$run.txt" || status=$?
    echo "$status" >"$out/status_$run.txt"
  done
  rmdir "/tmp/.fumbo-e2e-display-$n"
  for run in unset unserved; do
    [ "$(cat "$out/status_$run.txt")" = 1 ] || fail "status $(cat "$out/status_$run.txt") ($run)"
    [ "$(wc -l <"$out/stderr_$run.txt")" = 1 ] || fail "not one line on standard error ($run)"
    grep -q '^fumbo2: cannot open a window: no display' "$out/stderr_$run.txt" ||
      fail "unclear message ($run)"
  done
  if [ -e "$folder/user.ini" ] || [ -e "$folder/HighSc.sav" ]; then fail "a save file was made"; fi
}

# Sends signal $1 to the game, which must end with status 0 without asking anything.
stop_game_with() {
  kill "-$1" "$game_pid"
  wait_for "the game to end" 10 bash -c "! kill -0 $game_pid" || fail "SIG$1 did not end the game"
  local status=0
  wait "$game_pid" || status=$?
  game_pid=""
  [ "$status" = 0 ] || fail "SIG$1 ended the game with status $status"
}

# A stored record of score 123, level 9, digit total 5, chain 3 and high score -1, with
# marked reserved bytes.
plant_record() {
  printf '\253\315\173\000\000\000\377\377\377\377\011\000\005\000\000\000\003\021\042\063\104' \
    >"$1/HighSc.sav"
}

# SIGHUP during the splash ends the game before it has read the save files, so it writes
# none. SIGTERM in play, and SIGINT while the close question is up, save as the exit does,
# without a message: the score of 0 at level 1 beats the stored -1.
case_signals() {
  local folder="$out/program" w
  local record=abcd00000000ffffffff0100000000000011223344
  make_program_folder "$folder"
  printf '\003\377\377\000\000' >"$folder/user.ini"
  start_game "$folder"
  wait_for "the splash" 20 xdotool search --onlyvisible --name '^Ad of Rilo$' || fail "no splash"
  stop_game_with HUP
  expect_file "$folder/user.ini" 03ffff0000
  [ ! -e "$folder/HighSc.sav" ] || fail "HighSc.sav was made during the splash"

  plant_record "$folder"
  printf '\001\000\000\000\000' >"$folder/user.ini"
  start_game "$folder"
  w=$(wait_main_window)
  wait_for "the caption clock" 10 has_caption_clock "$w" || fail "no caption clock"
  stop_game_with TERM
  expect_file "$folder/user.ini" 0100000000
  expect_file "$folder/HighSc.sav" "$record"

  plant_record "$folder"
  printf '\002\000\000\000\000' >"$folder/user.ini"
  # A script's background jobs ignore SIGINT unless told otherwise.
  start_game "$folder" env --default-signal=INT
  w=$(wait_main_window)
  wait_for "the caption clock" 10 has_caption_clock "$w" || fail "no caption clock"
  wmctrl -i -c "$w"
  message_box question >/dev/null
  stop_game_with INT
  expect_file "$folder/user.ini" 0200000000
  expect_file "$folder/HighSc.sav" "$record"
}

# The display goes away under the game in play, as at the end of a desktop session: the
# game saves as its exit does and ends with one line on standard error and status 1. In the
# second run standard error is a pipe nobody reads any more: writing that line into it must
# cost neither the game nor its save, which the exit tells by giving user.ini its full length.
case_display_lost() {
  local folder="$out/program" w
  local record=abcd00000000ffffffff0100000000000011223344
  make_program_folder "$folder"
  plant_record "$folder"
  printf '\004\000\000\000\000' >"$folder/user.ini"
  start_game "$folder"
  w=$(wait_main_window)
  wait_for "the caption clock" 10 has_caption_clock "$w" || fail "no caption clock"
  end_x_server
  await_game_end 10
  [ "$game_status" = 1 ] || fail "the game ended with status $game_status when the display went"
  [ "$(grep -c '^fumbo2: the connection to the display was lost' "$out/stderr.txt")" = 1 ] ||
    fail "the loss of the display was not told in one line"
  ! grep -q XIO "$out/stderr.txt" || fail "the X library ended the game"
  expect_file "$folder/user.ini" 0400000000
  expect_file "$folder/HighSc.sav" "$record"

  stop_x_session
  start_x_session
  plant_record "$folder"
  printf '\005' >"$folder/user.ini"
  # SDL's disk audio driver warns on standard error as it opens; with the dummy driver the
  # game's own line is the first write into the pipe.
  start_game "$folder" env SDL_AUDIODRIVER=dummy \
    perl -e 'pipe(my $r, my $w); close $r; open(STDERR, ">&", $w); exec @ARGV'
  w=$(wait_main_window)
  wait_for "the caption clock" 10 has_caption_clock "$w" || fail "no caption clock"
  end_x_server
  await_game_end 10
  [ "$game_status" = 1 ] || fail "status $game_status with standard error unread"
  expect_file "$folder/user.ini" 0500000000
  expect_file "$folder/HighSc.sav" "$record"
}

# A window manager that never answers a request to show a window (one starting up with the
# session may take it and drop it) holds nothing: the game goes on past the splash to read
# its files, and a termination signal still ends it at once, saving. The focus the server
# refuses to the window never shown is not worth a line.
case_deaf_window_manager() {
  local folder="$out/program"
  make_program_folder "$folder"
  plant_record "$folder"
  "$deaf_window_manager" >"$out/window_manager.txt" &
  x_session_pids+=("$!")
  wait_for "the deaf window manager" 10 grep -q ready "$out/window_manager.txt" ||
    fail "the deaf window manager did not start"
  start_game "$folder"
  wait_for "the save files to be read" 30 test -e "$folder/user.ini" ||
    fail "the game never got past the splash"
  kill -TERM "$game_pid"
  await_game_end 2
  [ "$game_status" = 0 ] || fail "SIGTERM ended the game with status $game_status"
  ! grep -q 'refused a request' "$out/stderr.txt" || fail "an expected refusal was told"
  expect_file "$folder/user.ini" 0000000000
  expect_file "$folder/HighSc.sav" abcd00000000ffffffff0100000000000011223344
}

# A program folder with a record and settings (key sensitivity 1, music on, effects off) whose
# audio the disk driver sends into the FIFO $out/audio.raw.
program_with_audio_fifo() {
  make_program_folder "$1"
  plant_record "$1"
  printf '\001\377\377\000\000' >"$1/user.ini"
  mkfifo "$out/audio.raw"
}

# Some thread of the game sleeps in a write into a pipe.
writing_into_pipe() { grep -qs pipe /proc/"$game_pid"/task/*/wchan; }

# An audio device that stops taking sound for good (a sound server that hangs) holds no
# termination signal: the game still ends at once, saving as the exit does. The disk driver
# writes into a pipe whose reader stops in play; the pipe fills within a fraction of a second.
case_audio_device_hangs() {
  local folder="$out/program" w reader
  program_with_audio_fifo "$folder"
  # In a session of its own: a stopped process must not leave the tests' own process group
  # with a stopped member, which would be sent SIGHUP if that group were orphaned meanwhile.
  setsid cat "$out/audio.raw" >/dev/null &
  reader=$!
  x_session_pids+=("$reader")
  start_game "$folder"
  w=$(wait_main_window)
  wait_for "the caption clock" 10 has_caption_clock "$w" || fail "no caption clock"
  kill -STOP "$reader"
  wait_for "the audio device to block" 5 writing_into_pipe || fail "the audio device never blocked"
  kill -TERM "$game_pid"
  await_game_end 3  # a second for the device to close, and no more
  [ "$game_status" = 0 ] || fail "SIGTERM ended the game with status $game_status"
  expect_file "$folder/user.ini" 01ffff0000
  expect_file "$folder/HighSc.sav" abcd00000000ffffffff0100000000000011223344
}

# Some thread of the game waits in the open of a FIFO that nobody opens to read.
opening_a_fifo() { grep -qs partner /proc/"$game_pid"/task/*/wchan; }

# An audio device that never finishes opening (a sound server that accepts and never answers)
# holds no termination signal either: SIGTERM on the splash ends the game at once, before it
# has read its save files, so it writes nothing. The disk driver opens a FIFO nobody reads.
case_audio_device_never_opens() {
  local folder="$out/program"
  program_with_audio_fifo "$folder"
  start_game "$folder"
  wait_for "the splash" 20 visible_window '^Ad of Rilo$' || fail "no splash"
  wait_for "the audio device to open" 5 opening_a_fifo || fail "the audio device never waited"
  kill -TERM "$game_pid"
  await_game_end 3
  [ "$game_status" = 0 ] || fail "SIGTERM ended the game with status $game_status"
  expect_file "$folder/user.ini" 01ffff0000
  expect_file "$folder/HighSc.sav" abcd7b000000ffffffff0900050000000311223344
}
