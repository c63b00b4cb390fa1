#!/usr/bin/env bash
# Plays N whole random games (default 200) under fumbo-replay with the sanitizers, J at a
# time (default 4), and checks each: a clean end, the exit messages, whole save files that
# agree with the trace. Builds in build-soak unless BUILD names another sanitized build.
#   scripts/soak.sh [N] [J] [FIRST]
set -euo pipefail
cd "$(dirname "$0")/.."
games=${1:-200}
jobs=${2:-4}
first=${3:-1}
build=${BUILD:-build-soak}
cmake -S . -B "$build" -DFUMBO_SANITIZE=ON -DFUMBO_TOOLS=OFF >/dev/null
cmake --build "$build" -j "$jobs" --target soak_games fumbo-replay fumbo_program_folder >/dev/null
ASAN_OPTIONS=detect_leaks=1 "$build/dev/soak_games" --replay "$build/dev/fumbo-replay" \
  --assets "$build/bin" --games "$games" --first "$first" --jobs "$jobs" \
  --work "$PWD/$build/soak_work"
