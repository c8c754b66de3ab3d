#!/usr/bin/env bash
# Times a batch conversion against `cp -r` of the same folder: COUNT shaders
# (the examples and the golden inputs, copied over and over under new names),
# RUNS paired runs in alternating order, each into a fresh output folder.
# Prints the median of each side and the median of the per-pair ratios.
# Usage: bash bench/batch_vs_copy.sh BINARY [COUNT] [RUNS]
set -euo pipefail
binary="$(realpath "$1")"
count="${2:-360}"
runs="${3:-21}"
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

mkdir "$work/shaders"
sources=("$root"/examples/*.fs "$root"/tests/golden/*/input.fs)
for ((i = 0; i < count; ++i)); do
  source="${sources[i % ${#sources[@]}]}"
  name="$(basename "$(dirname "$source")")_$(basename "$source" .fs)"
  cp "$source" "$work/shaders/$(printf '%05d' "$i")_$name.fs"
done

# Microseconds taken by the command, its output thrown away.
time_of() {
  local start end
  start=$EPOCHREALTIME
  "$@" > /dev/null 2>&1 || true
  end=$EPOCHREALTIME
  echo $(( (${end/./} - ${start/./}) ))
}

copy_run() { rm -rf "$work/copy"; time_of cp -r "$work/shaders" "$work/copy"; }
tool_run() { rm -rf "$work/out"; mkdir "$work/out"; time_of "$binary" "$work/shaders" "$work/out"; }

copy_times=() tool_times=() ratios=()
for ((run = 0; run < runs; ++run)); do
  if ((run % 2 == 0)); then
    c=$(copy_run) t=$(tool_run)
  else
    t=$(tool_run) c=$(copy_run)
  fi
  copy_times+=("$c") tool_times+=("$t")
  ratios+=("$(awk -v t="$t" -v c="$c" 'BEGIN { printf "%.3f", t / c }')")
done

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
echo "shaders: $count, paired runs: $runs"
echo "cp -r:    median $(median "${copy_times[@]}") us"
echo "isf2orvy: median $(median "${tool_times[@]}") us"
echo "ratio:    median $(median "${ratios[@]}") (isf2orvy / cp -r, per pair)"
