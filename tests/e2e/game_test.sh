#!/usr/bin/env bash
# End-to-end runs of the whole game as a player:
#   game_test.sh CASE BIN_DIR FUMBO_REPLAY OUTDIR [DEAF_WINDOW_MANAGER]
# Each case copies the real fumbo2 with its tunes and sounds into a fresh folder, runs it in
# its own Xvfb with openbox, plays it with real key presses and checks the screen, the
# caption, the audio the disk driver writes and the save files. The cases hand their save
# files on to the next under OUTDIR/../saved. Screenshots are left in OUTDIR.
set -euo pipefail

case_name=$1
bin=$2
replay=$3
out=$4
deaf_window_manager=${5:-}
here=$(cd "$(dirname "$0")" && pwd)
saved=$(dirname "$out")/saved
source "$here/x_session.sh"
source "$here/game_helpers.sh"
source "$here/game_cases.sh"

rm -rf "$out"
mkdir -p "$out"
for tool in xdotool wmctrl xwininfo import sox; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done
if [ "$case_name" = deaf_window_manager ]; then start_x_session no_window_manager; else start_x_session; fi
trap 'exit 1' TERM
"case_$case_name"
echo "PASS: $case_name"
