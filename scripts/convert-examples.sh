#!/usr/bin/env bash
# Builds isf2orvy (release) and converts every shader in examples/ into out/examples/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target isf2orvy -j"$(nproc)"

mkdir -p out/examples
status=0
./build/release/isf2orvy examples out/examples || status=$?
echo "Converted shaders are in $(pwd)/out/examples (isf2orvy exit status $status)"
