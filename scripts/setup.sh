#!/usr/bin/env bash
# Installs the Debian packages that are missing: with "play", only what building and playing
# the game needs; without it, also what the tools, the tests and the benchmarks need.
# Runs as root or through sudo.
#   scripts/setup.sh [play]
set -euo pipefail

packages=(
  g++ cmake pkg-config make
  libsdl2-dev libsdl2-ttf-dev libfluidsynth-dev libx11-dev
  timgm6mb-soundfont fonts-ipafont-gothic
)
if [ "${1:-}" != play ]; then
  packages+=(
    git libgtest-dev libgmock-dev googletest libbenchmark-dev
    fonts-dejavu-core fonts-dejavu-extra
    xvfb openbox wmctrl xdotool x11-utils x11-apps imagemagick sox
    clang libclang-rt-14-dev
  )
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
echo "setup: installing ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
