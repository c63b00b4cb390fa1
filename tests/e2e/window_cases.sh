# The cases of window_test.sh, one function each.

readonly caption='#Fumbo!2nd  （体験版）'
readonly background=2878C8  # the probe's picture
readonly marker=FA1E1E      # drawn over it at (10..29, 10..29) at start and on key D
readonly painted=1EC83C     # drawn over it at (40..59, 10..29) by the paint handler

case_geometry() {
  start_probe main
  local w
  w=$(window_named 'Fumbo!2nd')
  [ -n "$w" ] || fail "main window not found"
  [ "$(client_size "$w")" = "380 400" ] || fail "client area $(client_size "$w"), not 380 400"
  [ "$(xdotool getwindowname "$w")" = "$caption" ] || fail "caption $(xdotool getwindowname "$w")"
  # The program's folder is the folder of the executable, whatever the working directory.
  expect_line "folder $(cd "$(dirname "$probe")" && pwd -P)"
  # The frame, borders included, is centred on the 1024 x 768 screen.
  local extents left right top bottom x y
  extents=$(xprop -id "$w" _NET_FRAME_EXTENTS | grep -o '[0-9, ]*$' | tr -d ' ')
  IFS=, read -r left right top bottom <<<"$extents"
  read -r x y <<<"$(client_origin "$w")"
  local frame_x=$((x - left)) frame_y=$((y - top))
  local want_x=$(((1024 - 380 - left - right) / 2)) want_y=$(((768 - 400 - top - bottom) / 2))
  ((frame_x >= want_x - 1 && frame_x <= want_x + 1 && frame_y >= want_y - 1 &&
    frame_y <= want_y + 1)) || fail "frame at $frame_x,$frame_y, centred would be $want_x,$want_y"
  # The picture and what the paint handler drew on it are on screen.
  [ "$(screen_pixel $((x + 5)) $((y + 5)))" = "$background" ] || fail "picture not shown"
  [ "$(screen_pixel $((x + 45)) $((y + 15)))" = "$painted" ] || fail "painting not shown"
  [ "$(screen_pixel $((x + 379)) $((y + 399)))" = "$background" ] || fail "corner not shown"
}

case_keys() {
  start_probe main
  local w
  w=$(window_named 'Fumbo!2nd')
  xdotool windowactivate --sync "$w"
  xdotool key --delay 30 Left Up Right Down x z Return KP_Enter Escape shift+z a
  local code
  for code in 37 38 39 40 88 90 13 27; do
    expect_line "keydown $code 0"
    expect_line "keyup $code 0"
  done
  expect_line "keydown 90 1"
  expect_line "keypress 27"
  expect_line "keypress 97"
  [ "$(count_lines 'keypress 13')" = 2 ] || fail "Return and keypad Enter must each press 13"
  # The character comes after its key-down.
  grep -A1 -x 'keydown 27 0' "$log" | grep -qx 'keypress 27' || fail "keypress before keydown"
  # A held key repeats its key-down and ends with one key-up.
  xdotool keydown Left
  sleep 1.2
  xdotool keyup Left
  expect_line "keyup 37 0"
  (($(count_lines 'keydown 37 0') >= 3)) || fail "held Left gave no repeats"
}

case_close() {
  start_probe main
  local w
  w=$(window_named 'Fumbo!2nd')
  wmctrl -i -c "$w"
  expect_line "queryunload 1"
  sleep 0.5
  kill -0 "$probe_pid" || fail "a refused close ended the program"
  xwininfo -id "$w" >/dev/null || fail "a refused close took the window away"
  wmctrl -i -c "$w"
  expect_line "queryunload 2"
  wait_probe_gone
  [ "$(probe_exit_status)" = 0 ] || fail "the program did not end with status 0"
}

# Gives the keyboard to the message box that is up now.
activate_box() {
  local box
  box=$(window_named '^#Fumbo2$')
  [ -n "$box" ] && xdotool windowactivate --sync "$box"
}

# Finds the message box, screenshots it into $out/$1.png and prints "id x y width height".
capture_box() {
  local box
  wait_for "the message box" 10 xdotool search --onlyvisible --name '^#Fumbo2$' || fail "no box"
  box=$(window_named '^#Fumbo2$')
  sleep 0.3
  import -window root "$out/$1.png"
  read -r x y <<<"$(client_origin "$box")"
  read -r bw bh <<<"$(client_size "$box")"
  echo "$box $x $y $bw $bh"
}

# Dark pixels of screenshot $1 in the text area of the box at $2 $3, $4 x $5.
text_pixels() {
  convert "$1" -crop "$(($4 - 48))x$(($5 - 96))+$(($2 + 24))+$(($3 + 24))" \
    -colorspace gray -threshold 50% -negate -format '%[fx:round(mean*w*h)]' info:
}

case_message_box() {
  start_probe main
  local w box x y bw bh
  w=$(window_named 'Fumbo!2nd')
  xdotool windowactivate --sync "$w"
  xdotool key m
  expect_line "keydown 77 0"
  read -r box x y bw bh <<<"$(capture_box ok_box)"
  # Centred on the screen, wide enough for the longest line of 26 characters.
  ((bw >= 26 * 14 && bh >= 5 * 14)) || fail "box of $bw x $bh is too small for its text"
  ((x + bw / 2 >= 510 && x + bw / 2 <= 514)) || fail "box not centred across ($x, $bw)"
  local dark
  dark=$(text_pixels "$out/ok_box.png" "$x" "$y" "$bw" "$bh")
  ((dark > 800)) || fail "only $dark text pixels in the box"
  xdotool key Escape
  expect_line "answer ok"
  # The question: Escape does nothing, the close box does nothing, the mouse answers.
  xdotool windowactivate --sync "$w"
  xdotool key q
  read -r box x y bw bh <<<"$(capture_box question_box)"
  wait_for "the box to take the keyboard" 5 activate_box || fail "the box took no keys"
  xdotool key Escape
  wmctrl -i -c "$box"
  sleep 0.5
  grep -q '^answer' <(sed -n '/keydown 81/,$p' "$log") && fail "the question was answered"
  xdotool mousemove --window "$box" $((bw - 12 - 44)) $((bh - 24)) click 1
  expect_line "answer no"
}

case_ask() {
  start_probe ask
  local w box x y bw bh place
  w=$(window_named 'Fumbo!2nd')
  place=$(client_origin "$w")
  wmctrl -i -c "$w"
  expect_line "queryunload 1"
  read -r box x y bw bh <<<"$(capture_box ask_box)"
  [ -z "$(window_named 'Fumbo!2nd')" ] || fail "the main window stayed visible behind the question"
  wait_for "the box to take the keyboard" 5 activate_box || fail "the box took no keys"
  xdotool key Right Return
  expect_line "answer no"
  wait_for "the main window again" 5 xdotool search --onlyvisible --name 'Fumbo!2nd' ||
    fail "the main window did not come back"
  [ "$(client_origin "$w")" = "$place" ] || fail "the window came back at $(client_origin "$w")"
  wmctrl -i -c "$w"
  read -r box x y bw bh <<<"$(capture_box ask_box_again)"
  wait_for "the box to take the keyboard" 5 activate_box || fail "the box took no keys"
  xdotool key Return  # the default button: Yes
  expect_line "answer yes"
  wait_probe_gone
  [ "$(probe_exit_status)" = 0 ] || fail "Yes did not end the program with status 0"
}

case_splash() {
  start_probe splash
  local s
  s=$(window_named '^Ad of Rilo$')
  [ -n "$s" ] || fail "splash not found"
  [ "$(client_size "$s")" = "200 70" ] || fail "splash is $(client_size "$s")"
  [ "$(client_origin "$s")" = "100 50" ] || fail "splash at $(client_origin "$s"), not 100 50"
  xprop -id "$s" _NET_FRAME_EXTENTS | grep -q '0, 0, 0, 0\|not found' ||
    fail "the splash has a frame: $(xprop -id "$s" _NET_FRAME_EXTENTS)"
  [ "$(screen_pixel 115 65)" = "$marker" ] || fail "splash picture not shown"
  # A termination request during the splash, before any handler exists, ends the program
  # cleanly. (Background jobs of a script ignore SIGINT, so SIGTERM stands for both.)
  kill -TERM "$probe_pid"
  wait_probe_gone
  [ "$(probe_exit_status)" = 0 ] || fail "SIGTERM did not end the program with status 0"
}

case_expose() {
  start_probe main
  local w x y
  w=$(window_named 'Fumbo!2nd')
  read -r x y <<<"$(client_origin "$w")"
  xdotool windowactivate --sync "$w"
  xdotool key d
  expect_line "keydown 68 0"
  sleep 0.2
  [ "$(screen_pixel $((x + 15)) $((y + 15)))" = "$marker" ] || fail "drawing not shown"
  local paints
  paints=$(count_lines paint)
  xdotool windowminimize --sync "$w"
  wmctrl -i -a "$w"
  wait_for "a repaint" 5 bash -c "(( \$(grep -cx paint '$log') > $paints ))" ||
    fail "no paint after the window came back"
  read -r x y <<<"$(client_origin "$w")"
  sleep 0.3
  # A repaint shows the picture again: what was drawn over it is gone until redrawn.
  [ "$(screen_pixel $((x + 15)) $((y + 15)))" = "$background" ] || fail "repaint kept the drawing"
  [ "$(screen_pixel $((x + 45)) $((y + 15)))" = "$painted" ] || fail "repaint not drawn"
}

case_no_display() {
  local status=0
  env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 "$probe" main >"$log" 2>"$out/probe.err" ||
    status=$?
  [ "$status" = 1 ] || fail "exit status $status without a display"
  [ "$(wc -l <"$out/probe.err")" = 1 ] || fail "more than one line on stderr"
  grep -q '^fumbo2: cannot open a window: ' "$out/probe.err" || fail "unclear message"
  echo "PASS: no_display"
}
