#!/bin/sh
# Runs one replay script in a fresh program folder and checks what its own comment lines
# expect:
#   #expect-status N      fumbo-replay's exit status (default 0)
#   #expect TEXT          a trace line containing TEXT, after the one the previous
#                         #expect matched (so the lines are checked in order)
#   #expect-error TEXT    standard error contains TEXT
# Usage: run_replay_script.sh FUMBO_REPLAY SCRIPT
set -u
binary=$1
script=$2
root=$(mktemp -d "${TMPDIR:-/tmp}/fumbo-script-XXXXXX") || exit 1
trap 'rm -rf "$root"' EXIT
mkdir "$root/folder" "$root/out"

expected_status=$(sed -n 's/^#expect-status \([0-9]*\).*/\1/p' "$script" | tail -n 1)
"$binary" --folder "$root/folder" --script "$script" --trace "$root/trace.jsonl" \
  --out "$root/out" 2>"$root/stderr.txt"
status=$?
if [ "$status" -ne "${expected_status:-0}" ]; then
  echo "exit status $status, expected ${expected_status:-0}"
  cat "$root/stderr.txt"
  exit 1
fi

touch "$root/trace.jsonl"
failed=0
from=1
# Each expected text must appear in a later line than the previous one.
while IFS= read -r text; do
  [ -z "$text" ] && continue
  found=$(tail -n "+$from" "$root/trace.jsonl" | grep -n -F -m 1 -- "$text" | cut -d: -f1)
  if [ -z "$found" ]; then
    echo "no trace line with: $text (from line $from)"
    failed=1
  else
    from=$((from + found))
  fi
done <<EXPECTED
$(sed -n 's/^#expect \(.*\)/\1/p' "$script")
EXPECTED

while IFS= read -r text; do
  [ -z "$text" ] && continue
  if ! grep -q -F -- "$text" "$root/stderr.txt"; then
    echo "standard error lacks: $text"
    failed=1
  fi
done <<EXPECTED
$(sed -n 's/^#expect-error \(.*\)/\1/p' "$script")
EXPECTED

if [ "$failed" -ne 0 ]; then
  echo "--- trace:"
  head -c 20000 "$root/trace.jsonl"
  echo "--- standard error:"
  cat "$root/stderr.txt"
fi
exit "$failed"
