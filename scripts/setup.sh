#!/usr/bin/env bash
# Installs every Debian package the build, the game and the tests need, and only what is
# missing. Runs as root or through sudo.
set -euo pipefail

packages=(
  g++ cmake pkg-config make git
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libsdl2-dev libsdl2-ttf-dev libfluidsynth-dev
  timgm6mb-soundfont fonts-ipafont-gothic fonts-dejavu-core fonts-dejavu-extra
  xvfb openbox wmctrl xdotool x11-utils x11-apps imagemagick sox
  clang libclang-rt-14-dev
)

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
