#!/usr/bin/env bash
# Runs the end-to-end tests (CTest label e2e) with every run of the tool
# under valgrind's memcheck. Any memcheck error (invalid read or write, use
# of an uninitialised value, a definite or indirect leak) fails the run.
# Usage: scripts/valgrind-e2e.sh [build folder, default build/ci]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/ci}"
bash scripts/install-deps.sh valgrind

logs="$(mktemp -d "${TMPDIR:-/tmp}/isf2orvy-memcheck.XXXXXX")"
trap 'rm -rf "$logs"' EXIT
# The tests compare standard error byte for byte, so memcheck writes its
# reports into one file per process; its exit status marks a run with errors.
export ISF2ORVY_TEST_WRAPPER="valgrind --tool=memcheck --quiet --error-exitcode=99 \
  --leak-check=full --errors-for-leak-kinds=definite,indirect --track-origins=yes \
  --vgdb=no --log-file=$logs/memcheck.%p.log"

status=0
ctest --test-dir "$build" -L e2e -j"$(nproc)" --output-on-failure || status=$?
reports=$(find "$logs" -name 'memcheck.*.log' -size +0 | wc -l)
if [ "$status" -ne 0 ] || [ "$reports" -ne 0 ]; then
  find "$logs" -name 'memcheck.*.log' -size +0 -exec cat {} +
  echo "memcheck: $reports report(s); ctest exit status $status"
  exit 1
fi
echo "memcheck: no errors in $(find "$logs" -name 'memcheck.*.log' | wc -l) runs of the tool"
