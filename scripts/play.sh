#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build -DFUMBO_SANITIZE=OFF >/dev/null
cmake --build build -j "$(nproc)"
exec build/bin/fumbo2
