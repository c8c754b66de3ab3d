#!/usr/bin/env bash
# Cross-builds isf2orvy.exe for Windows x86-64 (preset "windows", in
# build/windows) and runs every test under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh mingw-w64 g++-mingw-w64-x86-64 googletest wine wine64

# A Wine prefix of the build's own, the same one that the preset names.
# Its first start takes a while, so it is made once, before any test runs.
export WINEPREFIX="$PWD/build/windows/wine-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  [ -f "$WINEPREFIX/system.reg" ] || { echo "Wine prefix could not be created" >&2; exit 1; }
fi

# One Wine server, with its system processes, for the whole run. Started
# here on /dev/null: a system process that a test program started would keep
# that program's output pipe open, and CTest would wait for it.
wineserver -p </dev/null >/dev/null 2>&1
trap 'wineserver -k 2>/dev/null || true' EXIT
wineboot </dev/null >/dev/null 2>&1

cmake --preset windows
cmake --build --preset windows -j"$(nproc)"
ctest --preset windows -j"$(nproc)"
