#!/usr/bin/env bash
# Builds everything with the given preset (default: release) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-release}"

bash scripts/install-deps.sh
cmake --preset "$preset"
cmake --build --preset "$preset" -j"$(nproc)"
ctest --preset "$preset" -j"$(nproc)"
