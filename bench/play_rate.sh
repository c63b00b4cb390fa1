#!/usr/bin/env bash
# Frame rate, processor time and peak memory of the real game in play under Xvfb, beside a
# build whose waits spin as the original's did; both run at the same time, on their own
# X displays, with music and sound effects on (SDL's dummy audio driver still runs the
# synthesizer, so the SoundFont is loaded and rendered).
#   bench/play_rate.sh [SECONDS]      (default 60 s of play, after the splash)
# Builds, Release without sanitizers: build-bench (FUMBO_BENCH) and build-bench-spin
# (FUMBO_SPIN_WAITS); BENCH_BUILD and SPIN_BUILD name others.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
normal=${BENCH_BUILD:-build-bench}
spin=${SPIN_BUILD:-build-bench-spin}

configure() {  # DIR EXTRA...
  local dir=$1
  shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS=-Wno-restrict \
    -DFUMBO_BENCH=ON -DFUMBO_TESTS=OFF -DFUMBO_TOOLS=OFF "$@" >/dev/null
  cmake --build "$dir" -j 4 --target play_meter >/dev/null
}
configure "$normal" -DFUMBO_SPIN_WAITS=OFF
configure "$spin" -DFUMBO_SPIN_WAITS=ON

work=$(mktemp -d "${TMPDIR:-/tmp}/fumbo-play-rate-XXXXXX")
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

free_display() {
  local n
  for n in $(seq $((500 + RANDOM % 300)) 999); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { echo "$n"; return; }
  done
}

# A program folder of its own: the meter, the tunes, the sounds, and settings with music and
# sound effects on.
start_run() {  # NAME BUILD
  local name=$1 build=$2 folder=$work/$1 display
  mkdir -p "$folder"
  cp "$build/dev/play_meter" "$build"/bin/*.mid "$build"/bin/*.wav "$folder/"
  printf '\x00\xff\xff\xff\xff' >"$folder/user.ini"
  display=$(free_display)
  Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do xdpyinfo -display ":$display" >/dev/null 2>&1 && break; sleep 0.1; done
  DISPLAY=":$display" SDL_AUDIODRIVER=dummy timeout $((seconds + 90)) \
    "$folder/play_meter" "$seconds" "$work/$name.txt" >"$work/$name.log" 2>&1 &
  pids+=($!)
  eval "${name}_pid=$!"
}

start_run sleeping "$normal"
start_run spinning "$spin"
wait "$sleeping_pid" "$spinning_pid" || true
for name in sleeping spinning; do
  if [ ! -s "$work/$name.txt" ]; then
    echo "play_rate: the $name run gave no figures"
    cat "$work/$name.log"
    exit 1
  fi
  echo "$name: $(cat "$work/$name.txt")"
done

figure() { sed -n "s/.*$2=\([0-9.]*\).*/\1/p" "$work/$1.txt"; }
awk -v fps="$(figure sleeping frames_per_second)" -v cpu="$(figure sleeping cpu_percent)" \
  -v spin="$(figure spinning cpu_percent)" -v rss="$(figure sleeping peak_rss_kb)" 'BEGIN {
  limit = 1000 / 49
  printf "frame rate: %.3f frames/s = %.2f %% of the limit %.2f (goal >= 99.5 %%)\n", fps, 100 * fps / limit, limit
  printf "processor: %.2f %% of a core, spinning build %.2f %%: %.1f times less (goals < 5 %%, >= 20x)\n", cpu, spin, spin / cpu
  printf "peak resident size: %.1f MB\n", rss / 1024
}'
