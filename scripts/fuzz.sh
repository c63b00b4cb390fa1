#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer in build-fuzz, then runs each of them.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
# SECONDS per target (default 25); targets: midi_file bmp mci save_files (default all), run
# one after another, each on one core; FUZZ_PARALLEL=1 runs them side by side instead (one
# core each). New inputs that reach new code are added to a
# scratch corpus in build-fuzz/corpus/<target>, seeded from fuzz/corpus/<target>; a crash
# leaves its input in build-fuzz/findings/<target> and fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-25}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(midi_file bmp mci save_files)

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_C_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DFUMBO_FUZZ=ON -DFUMBO_TESTS=OFF -DFUMBO_TOOLS=OFF -DFUMBO_BENCH=OFF >/dev/null
cmake --build build-fuzz -j 4 --target "${targets[@]/%/_fuzz}"

run_target() {
  local target=$1
  local corpus=$PWD/build-fuzz/corpus/$target
  local findings=$PWD/build-fuzz/findings/$target
  local dict=()
  [ -f "fuzz/$target.dict" ] && dict=(-dict="$PWD/fuzz/$target.dict")
  mkdir -p "$corpus" "$findings"
  echo "fuzz: $target for ${seconds} s"
  if ! ASAN_OPTIONS=detect_leaks=1 build-fuzz/dev/${target}_fuzz \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 "${dict[@]}" \
      -artifact_prefix="$findings/" -print_final_stats=1 \
      "$corpus" "$PWD/fuzz/corpus/$target" >"build-fuzz/$target.log" 2>&1; then
    echo "fuzz: $target FAILED; see build-fuzz/$target.log and $findings/"
    grep -A 30 -m 1 -E '^==[0-9]+==|runtime error|^fuzz:' "build-fuzz/$target.log" || true
    return 1
  fi
  echo "fuzz: $target passed, $(grep -E '^stat::number_of_executed_units' "build-fuzz/$target.log" |
    awk '{print $2}') runs"
}

status=0
if [ "${FUZZ_PARALLEL:-0}" = 1 ]; then
  pids=()
  for target in "${targets[@]}"; do
    run_target "$target" &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid" || status=1; done
else
  for target in "${targets[@]}"; do run_target "$target" || status=1; done
fi
exit $status
