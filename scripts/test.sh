#!/usr/bin/env bash
# Builds everything with the given preset (default: release) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-release}"

# pkg-config, OSMesa and libpng build isf2orvy-preview, with libwebp also
# isf2orvy-gallery; glslangValidator compiles the converted examples, and
# Chromium loads the examples' gallery page.
bash scripts/install-deps.sh pkg-config glslang-tools libosmesa6-dev libpng-dev libwebp-dev chromium
cmake --preset "$preset"
cmake --build --preset "$preset" -j"$(nproc)"
ctest --preset "$preset" -j"$(nproc)"
