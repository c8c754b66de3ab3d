#!/usr/bin/env bash
# Cross-builds isf2orvy.exe for Windows x86-64 (preset "windows", in
# build/windows) and runs every test under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh mingw-w64 g++-mingw-w64-x86-64 googletest wine wine64

source scripts/wine-prefix.sh

# One Wine server, with its system processes, for the whole run. Started
# here on /dev/null: a system process that a test program started would keep
# that program's output pipe open, and CTest would wait for it.
wineserver -p </dev/null >/dev/null 2>&1
trap 'wineserver -k 2>/dev/null || true' EXIT
wineboot </dev/null >/dev/null 2>&1

cmake --preset windows
cmake --build --preset windows -j"$(nproc)"
ctest --preset windows -j"$(nproc)"
