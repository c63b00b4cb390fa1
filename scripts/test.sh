#!/usr/bin/env bash
# Installs what is missing, builds everything with the sanitizers (in build-test/, apart from
# the game's own build/) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
# A short fuzz run of each target (25 s each, clang with libFuzzer): fails on any crash.
./scripts/fuzz.sh 25
cmake --preset test >/dev/null
cmake --build --preset test -j "$(nproc)"
cd build-test
ctest --output-on-failure -j "$(nproc)" --timeout 900
