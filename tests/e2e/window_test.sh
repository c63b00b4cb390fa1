#!/usr/bin/env bash
# End-to-end tests of the game's windows: window_test.sh PROBE CASE OUTDIR.
# Each case runs the window probe in its own Xvfb with openbox and drives it with real key
# presses, close requests and mouse clicks, then checks what the probe reported and what the
# screen shows. Screenshots are left in OUTDIR.
set -euo pipefail

probe=$1
case_name=$2
out=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x_session.sh"

mkdir -p "$out"
log="$out/probe.log"
probe_pid=""

fail() {
  echo "FAIL: $*"
  echo "--- probe output:"
  cat "$log" 2>/dev/null || true
  cat "$out/probe.err" 2>/dev/null || true
  exit 1
}

cleanup() {
  [ -n "$probe_pid" ] && kill "$probe_pid" 2>/dev/null || true
  stop_x_session
}

start_probe() {
  : >"$log"
  "$probe" "$1" >"$log" 2>"$out/probe.err" &
  probe_pid=$!
  trap cleanup EXIT
  wait_for "the probe's window" 15 grep -q '^ready' "$log" || fail "no window"
}

# The probe's main window (its caption contains Fumbo), or the window named $1.
window_named() { xdotool search --onlyvisible --name "$1" | head -1; }

expect_line() {
  wait_for "'$1'" 5 grep -qx -- "$1" "$log" || fail "missing line '$1'"
}

count_lines() { grep -cx -- "$1" "$log" || true; }

# The colour of one screen pixel as RRGGBB.
screen_pixel() {
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- | grep -o '#[0-9A-Fa-f]\{6\}' | head -1 |
    tr -d '#' | tr 'a-f' 'A-F'
}

# Absolute position of a window's client area: "X Y".
client_origin() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
                            END {print x, y}'
}

client_size() {
  xwininfo -id "$1" | awk '/^  Width:/ {w=$2} /^  Height:/ {h=$2} END {print w, h}'
}

probe_exit_status() {
  local status=0
  wait "$probe_pid" || status=$?
  probe_pid=""
  echo "$status"
}

wait_probe_gone() {
  wait_for "the probe to end" 10 bash -c "! kill -0 $probe_pid" || fail "the probe did not end"
}

source "$here/window_cases.sh"

if [ "$case_name" = no_display ]; then
  case_no_display
  exit 0
fi
start_x_session
"case_$case_name"
echo "PASS: $case_name"
