#!/usr/bin/env bash
# The game's folder holds the game, its tunes and sounds (and the player's save files), and
# the play build compiles the game alone: no test, tool, benchmark or fuzz program.
#   check_game_folder.sh SOURCE_DIR GAME_FOLDER
set -euo pipefail
source_dir=$1
game_folder=$2
status=0

for file in "$game_folder"/* "$game_folder"/.[!.]*; do
  [ -e "$file" ] || continue
  case ${file##*/} in
    fumbo2 | *.mid | *.wav | user.ini | HighSc.sav) ;;
    *) echo "not the game's: $file"; status=1 ;;
  esac
done

plan_dir=$(mktemp -d "${TMPDIR:-/tmp}/fumbo-play-plan-XXXXXX")
trap 'rm -rf "$plan_dir"' EXIT
cd "$source_dir"
cmake --preset play -B "$plan_dir" >/dev/null
# A dry run: the commands the build would run, without running them (it cannot link
# libraries it has not made, hence -k and no test of its status).
cmake --build "$plan_dir" --target fumbo2 -- -n -k >"$plan_dir/plan.txt" 2>/dev/null || true
if ! grep -q "$source_dir/src/main.cpp" "$plan_dir/plan.txt"; then
  echo "no plan for building the game"
  status=1
fi
if grep -oE "$source_dir/(tests|tools|bench|fuzz|src/replay)/[^ ]+" "$plan_dir/plan.txt" | sort -u |
  grep .; then
  echo "the play build compiles the sources above"
  status=1
fi
exit $status
