#!/usr/bin/env bash
# Fails when code outside src/platform includes a system library that only the platform
# layer may use.
set -u
root=${1:-.}
hits=$(grep -rnE '#\s*include\s*[<"](SDL|SDL2/|X11/|fluidsynth|iconv\.h|ft2build|freetype)' \
         "$root/src" --include='*.cpp' --include='*.h' | grep -v "^$root/src/platform/")
if [ -n "$hits" ]; then
  echo "platform libraries used outside src/platform:"
  echo "$hits"
  exit 1
fi
echo "layering: game code uses the platform layer only"
