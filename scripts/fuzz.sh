#!/usr/bin/env bash
# Builds the libFuzzer targets (preset fuzz) and runs each for a bounded time
# from the example and golden shaders plus the kept regression inputs. Fails
# on any crash, leak, sanitizer report, timeout (1 s per input) or memory use
# beyond 2 GB. Usage: scripts/fuzz.sh [seconds per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-${FUZZ_SECONDS:-60}}"

bash scripts/install-deps.sh clang libclang-rt-14-dev
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)" --target convert_source_fuzzer header_fuzzer rewrite_fuzzer

work=build/fuzz/run
rm -rf "$work"
mkdir -p "$work/seeds"
# Seeds: every example shader and every golden input, under distinct names.
for f in examples/*.fs tests/golden/*/input.fs; do
  cp "$f" "$work/seeds/$(echo "$f" | tr '/' '_')"
done

# Longest input each target is given: a little above the largest seed for
# whole shaders; the header and the primitives do not need more.
declare -A max_len=([convert_source]=8192 [header]=4096 [rewrite]=4096)

summary=()
status=0
for target in convert_source header rewrite; do
  mkdir -p "$work/$target/corpus" "$work/$target/artifacts"
  log="$work/$target/log"
  echo "== fuzzing $target for ${seconds}s"
  if ! "build/fuzz/fuzz/${target}_fuzzer" \
      -max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 -max_len="${max_len[$target]}" \
      -dict=fuzz/isf.dict -print_final_stats=1 \
      -artifact_prefix="$work/$target/artifacts/" \
      "$work/$target/corpus" "$work/seeds" "fuzz/regressions/$target" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "FAILED: $target; the failing input is in $work/$target/artifacts/."
    echo "Keep it as fuzz/regressions/$target/<name> once the fault is fixed."
    status=1
    continue
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  rss=$(sed -n 's/^stat::peak_rss_mb: *//p' "$log")
  summary+=("$(printf '%-15s %10s runs %8s runs/s  peak %5s MB' "$target" "$runs" "$rate" "$rss")")
done

echo "== fuzzing summary (${seconds}s per target)"
printf '%s\n' "${summary[@]}"
exit "$status"
