#!/usr/bin/env bash
# Sourced by the scripts that run Windows programs: the build's own Wine
# prefix (the one that the windows preset names), made on first use, since
# its first start takes a while.
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
