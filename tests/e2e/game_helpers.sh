# Helpers of the game's end-to-end runs: start the real program in a fresh folder, find its
# windows, read the falling pair and regions of the screen from screenshots, measure what the
# disk audio driver wrote. Sourced by game_test.sh after x_session.sh.

readonly caption_prefix='#Fumbo!2nd  （体験版）'
readonly audio_bytes_per_second=$((44100 * 2 * 4))  # float samples, two channels
game_pid=""

# Also from inside $(...): the message goes to standard error and the whole test ends.
fail() {
  {
    echo "FAIL: $*"
    echo "--- standard error of the game:"
    tail -n 40 "$out/stderr.txt" 2>/dev/null || true
  } >&2
  [ "$BASHPID" = "$$" ] || kill -TERM "$$"
  exit 1
}

cleanup_game() {
  if [ -n "$game_pid" ]; then
    xdotool keyup Down 2>/dev/null || true
    # The game must go at once, whatever it is doing.
    kill -KILL "$game_pid" 2>/dev/null || true
    wait "$game_pid" 2>/dev/null || true
  fi
  stop_x_session
}

# A fresh program folder: the game with its tunes and sounds, and the save files given.
make_program_folder() {
  local folder=$1
  shift
  rm -rf "$folder"
  mkdir -p "$folder"
  cp "$bin/fumbo2" "$bin"/*.mid "$bin"/*.wav "$folder/"
  local file
  for file in "$@"; do cp "$file" "$folder/"; done
}

# start_game FOLDER [LAUNCHER...]: the game of FOLDER, in the background, started through the
# launcher command given (if any).
start_game() {
  export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$out/audio.raw"
  # SDL and X11 keep a few allocations to the end; they are not ours.
  export ASAN_OPTIONS=detect_leaks=0
  "${@:2}" "$1/fumbo2" >"$out/stdout.txt" 2>"$out/stderr.txt" &
  game_pid=$!
  trap cleanup_game EXIT
}

# Waits until the game has ended by itself (fails after $1 seconds) and sets game_status to
# its exit status. Not from inside $(...): a subshell cannot wait for the game.
await_game_end() {
  wait_for "the game to end" "$1" bash -c "! kill -0 $game_pid" || fail "the game did not end"
  game_status=0
  wait "$game_pid" || game_status=$?
  game_pid=""
}

visible_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1; }

main_window() { visible_window 'Fumbo!2nd'; }

client_size() {
  xwininfo -id "$1" | awk '/^  Width:/ {w=$2} /^  Height:/ {h=$2} END {print w, h}'
}

shot() {
  import -window "$1" "$out/$2.png" || fail "no screenshot $2"
  echo "$out/$2.png"
}

# Bytes the audio driver has written so far, rounded down to whole sample frames.
audio_position() {
  local size
  size=$(stat -c %s "$out/audio.raw" 2>/dev/null || echo 0)
  echo $((size / 8 * 8))
}

# RMS level (0..1) of the audio between byte offsets $1 and $2.
audio_level() {
  local from=$1 to=$2
  { tail -c "+$((from + 1))" "$out/audio.raw" || true; } | head -c "$((to - from))" |
    sox -t raw -r 44100 -e floating-point -b 32 -c 2 - -n stat 2>&1 |
    awk '/RMS +amplitude/ {print $3}'
}

# Succeeds when the level of the audio between $1 and $2 is at least $3.
audio_louder_than() {
  awk -v level="$(audio_level "$1" "$2")" -v floor="$3" 'BEGIN {exit !(level + 0 >= floor)}'
}

# The pixels of the falling pair's shade in a screenshot of the game picture: green at 200
# or more over red and blue cut to the pulsing grey. Prints "x y" per pixel, well only.
shade_pixels() {
  convert "$1" -crop 200x300+20+50 +repage -depth 8 txt:- |
    awk -F'[ ,:()]+' 'NR > 1 && $4 >= 200 && $4 > $3 + 20 && $4 > $5 + 20 {print $1 + 20, $2 + 50}'
}

# The well columns (0..9) the falling pair covers, ascending, blank-separated.
pair_columns() {
  shade_pixels "$1" | awk '{n[int(($1 - 20) / 20)]++}
    END {for (c = 0; c < 10; c++) if (n[c] >= 20) printf "%s%d", (s++ ? " " : ""), c; print ""}'
}

# The topmost row of pixels of the falling pair's shade.
pair_top() {
  shade_pixels "$1" | awk 'NR == 1 || $2 < top {top = $2} END {print top + 0}'
}

# Pixels that differ between two pictures inside the rectangle W x H + X + Y.
differing_pixels() {
  convert "$1" -crop "$3" +repage "$out/crop_a.png"
  convert "$2" -crop "$3" +repage "$out/crop_b.png"
  # compare's status tells whether the pictures differ; the count is what matters here.
  { compare -metric AE "$out/crop_a.png" "$out/crop_b.png" null: 2>&1 || true; } |
    awk '{print int($1)}'
}

# Pixels inside the rectangle W x H + X + Y of a picture that are not black.
lit_pixels() {
  convert "$1" -crop "$2" +repage -colorspace gray -threshold 0 \
    -format '%[fx:round(mean*w*h)]' info:
}

# Near-white pixels inside the rectangle W x H + X + Y of a picture.
white_pixels() {
  convert "$1" -crop "$2" +repage -colorspace gray -threshold 85% \
    -format '%[fx:round(mean*w*h)]' info:
}

# Waits for a message box, screenshots it into $out/$1.png, prints "id width height".
message_box() {
  wait_for "a message box" 15 xdotool search --onlyvisible --name '^#Fumbo2$' ||
    fail "no message box ($1)"
  local box
  box=$(visible_window '^#Fumbo2$')
  sleep 0.4
  import -window root "$out/$1.png"
  echo "$box $(client_size "$box")"
}

answer_box() {
  xdotool windowactivate --sync "$1" 2>/dev/null || true
  xdotool key --delay 80 "${@:2}"
  wait_for "the box $1 to close" 5 bash -c "! xwininfo -id $1 2>/dev/null | grep -q IsViewable" ||
    fail "the box did not close on ${*:2}"
}

hex_of() { od -An -tx1 -v "$1" | tr -d ' \n'; }
