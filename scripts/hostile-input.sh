#!/usr/bin/env bash
# Hostile input end to end: generates each case in a temporary folder, runs
# the built tool on it under /usr/bin/time and checks the outcome (status,
# messages, output), the time taken and the peak memory, which must stay at
# most 4 times the input size plus 64 MB. Usage: scripts/hostile-input.sh
# [build folder with isf2orvy and tests/make_hostile_input, default build/ci]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/ci}"
tool="$build/isf2orvy"
generator="$build/tests/make_hostile_input"
bash scripts/install-deps.sh time

work="$(mktemp -d "${TMPDIR:-/tmp}/isf2orvy-hostile.XXXXXX")"
trap 'rm -rf "$work"' EXIT
failures=0
report=()

fail() {
  echo "FAILED: $1: $2"
  failures=$((failures + 1))
}

# The shader's own output holds no ISF image macro any more.
no_image_macros() { ! grep -q 'IMG_' "$1"; }
# A shader with no code to convert gives no output.
nothing_written() { [ ! -e "$1" ]; }
hundred_thousand_floats() { [ "$(grep -c '^// ORVANE_FLOAT_PARAM(p' "$1")" -eq 100000 ]; }
thousand_samplers() {
  [ "$(grep -c '^uniform sampler2D tex' "$1")" -eq 1000 ] && no_image_macros "$1"
}
converted() { [ -s "$1" ]; }
events_and_points_set() {
  [ "$(grep -c '^  if ((e[0-9]* != 0)) c' "$1")" -eq 50000 ] && ! grep -q '^#define' "$1" &&
    [ "$(grep -c '^p[0-9]* = vec2(p[0-9]*_x,p[0-9]*_y);$' "$1")" -eq 50000 ]
}

# run_case NAME HEADER(read|unreadable|no_header|never_closes) SECONDS CHECK
run_case() {
  local name="$1" header="$2" limit="$3" check="$4"
  local shader="$work/$name.fs" out="$work/out"
  rm -rf "$out" && mkdir -p "$out"
  "$generator" "$name" "$shader"
  local size status=0
  size=$(stat -c %s "$shader")
  timeout $((limit * 3)) /usr/bin/time -o "$work/time" -f '%e %M' \
    "$tool" "$shader" "$out" >"$work/stdout" 2>"$work/stderr" || status=$?
  local seconds peak_kb
  read -r seconds peak_kb < <(tail -n 1 "$work/time")
  local bound_kb=$(((4 * size + 64 * 1024 * 1024) / 1024))

  local expected_err="" expected_out="Successfully Processed $shader" expected_status=0
  case "$header" in
    unreadable) expected_err="Warning: could not read the ISF header of $shader; parameters may be missing." ;;
    no_header) expected_err="Error: shader $shader has no ISF header; nothing was written." ;;
    never_closes) expected_err="Error: the ISF header of shader $shader never closes; nothing was written." ;;
  esac
  case "$header" in no_header | never_closes) expected_out="" expected_status=1 ;; esac
  [ "$status" -eq "$expected_status" ] || fail "$name" "exit status $status"
  [ "$(cat "$work/stdout")" = "$expected_out" ] || fail "$name" "stdout: $(head -c 300 "$work/stdout")"
  [ "$(cat "$work/stderr")" = "$expected_err" ] || fail "$name" "stderr: $(head -c 300 "$work/stderr")"
  "$check" "$out/$name.frag" || fail "$name" "output fails $check"
  [ "$peak_kb" -le "$bound_kb" ] || fail "$name" "peak memory ${peak_kb} kB above ${bound_kb} kB"
  awk -v s="$seconds" -v l="$limit" 'BEGIN { exit !(s <= l) }' || fail "$name" "took ${seconds}s (limit ${limit}s)"

  report+=("$(printf '%-14s %8.1f MB %7.2f s %8.1f MB %8.1f MB' "$name" \
    "$(awk -v b="$size" 'BEGIN { print b / 1048576 }')" "$seconds" \
    "$(awk -v k="$peak_kb" 'BEGIN { print k / 1024 }')" "$(awk -v k="$bound_kb" 'BEGIN { print k / 1024 }')")")
  rm -rf "$shader" "$out"
}

run_case big_shader   read       60 no_image_macros
run_case deep_nesting unreadable 10 converted
run_case many_inputs  read       30 hundred_thousand_floats
run_case many_images  read       60 thousand_samplers
run_case nested_images read      10 no_image_macros
run_case events_and_points read  30 events_and_points_set
run_case long_line    read       30 no_image_macros
run_case invalid_utf8 unreadable 10 converted
run_case nul_bytes    unreadable 10 converted
run_case cr_only      never_closes 10 nothing_written
run_case utf16        no_header    10 nothing_written
run_case random_bytes unreadable 10 converted

echo "== hostile input: case, input size, time, peak memory, memory bound"
printf '%s\n' "${report[@]}"
[ "$failures" -eq 0 ] || { echo "$failures hostile-input check(s) failed"; exit 1; }
