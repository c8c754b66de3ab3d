#!/usr/bin/env bash
# Times a batch conversion against `cp -r` of the same folder: COUNT shaders
# made by make_shader_batch.sh,
# RUNS paired runs in alternating order, each into a fresh output folder.
# Prints, on the clock and in processor time, the median of each side and the
# median of the per-pair ratios.
# Usage: bash bench/batch_vs_copy.sh BINARY [COUNT] [RUNS]
set -euo pipefail
binary="$(realpath "$1")"
count="${2:-360}"
runs="${3:-21}"
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

bash "$root/bench/make_shader_batch.sh" "$work/shaders" "$count"

# "wall cpu": the microseconds that the command took on the clock (bash's
# EPOCHREALTIME, to the microsecond) and in processor time (user and system,
# as the shell's `time` counts the child, to the millisecond), its output
# thrown away. Processor time varies far less than the clock on a loaded
# machine.
time_of() {
  local TIMEFORMAT='%3U %3S' times start end
  start=$EPOCHREALTIME
  times=$( { time "$@" > /dev/null 2>&1; } 2>&1 ) || true
  end=$EPOCHREALTIME
  awk -v s="$start" -v e="$end" -v t="$times" \
    'BEGIN { split(t, f, " "); printf "%d %d\n", (e - s) * 1e6, (f[1] + f[2]) * 1e6 }'
}

# Each side starts from a fresh folder, after a pause that lets the system
# finish freeing the previous run's files (work it does on the other
# processors, which a run on two threads would otherwise share).
copy_run() { rm -rf "$work/copy"; sleep 0.2; time_of cp -r "$work/shaders" "$work/copy"; }
tool_run() { rm -rf "$work/out"; mkdir "$work/out"; sleep 0.2; time_of "$binary" "$work/shaders" "$work/out"; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

copy_wall=() copy_cpu=() tool_wall=() tool_cpu=() wall_ratios=() cpu_ratios=()
for ((run = 0; run < runs; ++run)); do
  if ((run % 2 == 0)); then
    read -r cw cc < <(copy_run); read -r tw tc < <(tool_run)
  else
    read -r tw tc < <(tool_run); read -r cw cc < <(copy_run)
  fi
  copy_wall+=("$cw") copy_cpu+=("$cc") tool_wall+=("$tw") tool_cpu+=("$tc")
  wall_ratios+=("$(ratio "$tw" "$cw")") cpu_ratios+=("$(ratio "$tc" "$cc")")
done

echo "shaders: $count, paired runs: $runs (medians; ratio: isf2orvy / cp -r within a pair)"
echo "wall clock: cp -r $(median "${copy_wall[@]}") us, isf2orvy $(median "${tool_wall[@]}") us, ratio $(median "${wall_ratios[@]}")"
echo "processor:  cp -r $(median "${copy_cpu[@]}") us, isf2orvy $(median "${tool_cpu[@]}") us, ratio $(median "${cpu_ratios[@]}")"
