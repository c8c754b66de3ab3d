#!/usr/bin/env bash
# The system calls of a batch, counted with `strace -f -c` on 360 small
# shaders (bench/make_shader_batch.sh): into an empty folder, then again
# replacing every output. Fails when a converted shader costs more than 16
# calls on average, every call of the run included. Usage:
# scripts/count-system-calls.sh [build folder with isf2orvy, default build/ci]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/ci}"
budget=16
bash scripts/install-deps.sh strace

work="$(mktemp -d "${TMPDIR:-/tmp}/isf2orvy-calls.XXXXXX")"
trap 'rm -rf "$work"' EXIT
bash bench/make_shader_batch.sh "$work/shaders" 360
mkdir "$work/out"

status=0
for run in "into an empty folder" "replacing every output"; do
  strace -f -c -o "$work/calls" "$build/isf2orvy" "$work/shaders" "$work/out" \
    >"$work/stdout" 2>/dev/null || true
  calls=$(awk '$NF == "total" { print $4 }' "$work/calls")
  converted=$(grep -c '^Successfully Processed ' "$work/stdout" || true)
  per_shader=$(awk -v c="$calls" -v n="$converted" 'BEGIN { printf "%.1f", c / n }')
  echo "$run: $calls calls, $converted shaders converted, $per_shader per converted shader"
  if [ "$converted" -eq 0 ] || [ "$calls" -gt $((budget * converted)) ]; then
    echo "FAILED: more than $budget calls per converted shader"
    status=1
  fi
done
exit "$status"
