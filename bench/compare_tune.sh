#!/usr/bin/env bash
# Renders the game's tunes through two builds' sound systems (tune_render, SDL's disk audio
# driver) and compares what would be heard: level (RMS, peak), level per frequency band up
# to 20 kHz, the difference signal, and a spectrogram of each for the eye.
#   bench/compare_tune.sh REFERENCE_BUILD [BUILD] [OUT_FOLDER]
# BUILD defaults to build-bench; both need the tune_render target built. OUT_FOLDER (default
# a temporary folder, removed) keeps the renders as WAV and the spectrograms as PNG.
# Needs sox and python3.
set -euo pipefail
cd "$(dirname "$0")/.."
reference=$1
build=${2:-build-bench}
keep=${3:-}
work=$(mktemp -d "${TMPDIR:-/tmp}/fumbo-compare-XXXXXX")
trap 'rm -rf "$work"' EXIT

# The render without its silences: each stretch of sound starts one second after the last,
# since the moment a tune starts in the stream depends on the timing of the two threads.
render() {  # BUILD TUNES OUT.wav
  local tunes=() each
  for each in $2; do tunes+=("$1/bin/$each"); done
  # The tools sit in dev/, beside the game's folder bin/ (in bin/ itself in older builds).
  local program=$1/dev/tune_render
  [ -x "$program" ] || program=$1/bin/tune_render
  "$program" "$work/raw" "${tunes[@]}" >"$work/cpu.txt" 2>/dev/null
  python3 - "$work/raw" "$work/trimmed" <<'EOF'
import array, sys
data = array.array('f')
with open(sys.argv[1], 'rb') as f:
    data.frombytes(f.read())
gap = 2 * 44100  # a second of stereo frames
out = array.array('f')
quiet = 0
start = None
for i, value in enumerate(data):
    if value != 0.0:
        if start is None:
            start = i & ~1
            if out:
                out.extend([0.0] * gap)
        quiet = 0
    elif start is not None:
        quiet += 1
        if quiet >= gap:
            out.extend(data[start:i + 1 - quiet])
            start = None
if start is not None:
    out.extend(data[start:])
with open(sys.argv[2], 'wb') as f:
    out.tofile(f)
EOF
  sox -t f32 -r 44100 -c 2 "$work/trimmed" -e floating-point "$3"
  sed 's/^/    /' "$work/cpu.txt"
}

level() {  # WAV [EFFECT...]: "RMS dB / peak dB"
  local file=$1
  shift
  sox "$file" -n "$@" stats 2>&1 | awk '/RMS lev dB/ {r = $4} /Pk lev dB/ {p = $4} END {print r " / " p}'
}

bands="0-250 250-1000 1000-3000 3000-6000 6000-9000 9000-12000 12000-16000 16000-20000"
compare() {  # NAME TUNES
  local name=$1 tune=$2 a b length
  echo "$tune"
  echo "  reference:"
  render "$reference" "$tune" "$work/$name-reference.wav"
  echo "  this build:"
  render "$build" "$tune" "$work/$name.wav"
  # The same length for both: the shorter one.
  length=$(for f in "$work/$name-reference.wav" "$work/$name.wav"; do soxi -s "$f"; done | sort -n | head -1)
  for f in "$work/$name-reference.wav" "$work/$name.wav"; do
    sox "$f" "$work/cut.wav" trim 0 "${length}s" && mv "$work/cut.wav" "$f"
  done
  printf '  %-14s %-20s %-20s\n' "band (Hz)" "reference RMS/peak" "this build RMS/peak"
  printf '  %-14s %-20s %-20s\n' "all" "$(level "$work/$name-reference.wav")" "$(level "$work/$name.wav")"
  for band in $bands; do
    if [ "${band%-*}" = 0 ]; then filter=(sinc "-${band#*-}"); else filter=(sinc "$band"); fi
    a=$(level "$work/$name-reference.wav" "${filter[@]}")
    b=$(level "$work/$name.wav" "${filter[@]}")
    printf '  %-14s %-20s %-20s\n' "$band" "$a" "$b"
  done
  sox -m -v 1 "$work/$name-reference.wav" -v -1 "$work/$name.wav" "$work/diff.wav"
  echo "  difference (this build - reference) RMS/peak: $(level "$work/diff.wav") dB"
  for f in "$name-reference" "$name"; do
    sox "$work/$f.wav" -n remix - spectrogram -x 1200 -y 513 -z 100 -t "$f" -o "$work/$f.png"
  done
}

compare Game Game.mid
# As the game plays them: the fanfare, then the game tune (the second loads other instruments).
compare Opening-Game "Opening.mid Game.mid"
if [ -n "$keep" ]; then
  mkdir -p "$keep"
  cp "$work"/*.wav "$work"/*.png "$keep/"
  echo "renders and spectrograms in $keep"
fi
