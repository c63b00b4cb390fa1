#!/usr/bin/env bash
# Installs what is missing, builds the game alone (Release, in build/) and starts it.
# The game's folder, build/bin/, holds the game, its tunes and sounds, and the player's
# user.ini and HighSc.sav; the tests build elsewhere (scripts/test.sh, build-test/).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh play
cmake --preset play >/dev/null
# Earlier builds put the test and tool programs beside the game: take them out of its folder.
for program in fumbo-replay window_probe soak_games play_meter compose_screen make_pictures \
  make_sounds make_tunes render_tune; do
  rm -f "build/bin/$program"
done
rm -f build/bin/test_* build/bin/*_bench build/bin/*_fuzz
cmake --build --preset play -j "$(nproc)"
exec build/bin/fumbo2
