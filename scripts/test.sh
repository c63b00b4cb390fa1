#!/usr/bin/env bash
# Installs what is missing, builds with the sanitizers and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
# A short fuzz run of each target (25 s each, clang with libFuzzer): fails on any crash.
./scripts/fuzz.sh 25
cmake -S . -B build -DFUMBO_SANITIZE=ON -DFUMBO_TESTS=ON >/dev/null
cmake --build build -j "$(nproc)"
cd build
ctest --output-on-failure -j "$(nproc)" --timeout 900
