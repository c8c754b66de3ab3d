#!/usr/bin/env bash
# Makes the two packages into dist/: the Debian package from a Linux build
# (preset release unless another is given) and the Windows zip from the
# MinGW-w64 cross build (preset windows; an existing build/windows is reused).
# Usage: scripts/package.sh [Linux preset, default release]
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-release}"

# dpkg-shlibdeps (dpkg-dev) and file find the .deb's dependencies; OSMesa and
# libpng build the preview; MinGW-w64 builds isf2orvy.exe.
bash scripts/install-deps.sh dpkg-dev file pkg-config libosmesa6-dev libpng-dev \
  mingw-w64 g++-mingw-w64-x86-64

# package BUILD_FOLDER: runs CPack there and copies what it made into dist/.
package() {
  rm -rf "$1/packages"
  cpack --config "$1/CPackConfig.cmake" -B "$1/packages" >/dev/null
  cp "$1"/packages/isf2orvy[-_]* dist/
}

mkdir -p dist
rm -f dist/isf2orvy_*.deb dist/isf2orvy-*.zip

echo "== Debian package (preset $preset)"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j"$(nproc)"
package "build/$preset"

echo "== Windows zip (preset windows)"
# Without tests on a fresh build: they need GoogleTest's sources and Wine.
[ -f build/windows/CMakeCache.txt ] || cmake --preset windows -DISF2ORVY_BUILD_TESTS=OFF >/dev/null
cmake --build --preset windows -j"$(nproc)"
package build/windows

ls -l dist/isf2orvy_*.deb dist/isf2orvy-*.zip
