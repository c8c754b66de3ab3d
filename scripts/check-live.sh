#!/usr/bin/env bash
# Opens GALLERY_DIR/index.html#check-live in headless Chromium with its
# software WebGL 2: every live view runs once and its first frame is compared
# with its thumbnail. Prints the counts and the cards that did not match;
# fails unless every compiling shader ran and matched (or, with a second
# argument "--measure", only prints) and whenever the page wrote to the console.
#   bash scripts/check-live.sh GALLERY_DIR [--measure]
set -euo pipefail
gallery="$(cd "$1" && pwd)"
profile="$(mktemp -d)"
dom="$profile/dom.html"
log="$profile/console.log"
trap 'rm -rf "$profile"' EXIT
chromium --headless --no-sandbox --use-angle=swiftshader --enable-unsafe-swiftshader \
  --disable-quic --no-first-run --disable-background-networking --disable-component-update \
  --disable-sync --user-data-dir="$profile/user" --enable-logging=stderr \
  --virtual-time-budget=3600000 --dump-dom "file://$gallery/index.html#check-live" \
  > "$dom" 2> "$log" || true

body="$(grep -o '<body[^>]*>' "$dom" | head -n 1 || true)"
attribute() { sed -n "s/.* $1=\"\\([^\"]*\\)\".*/\\1/p" <<< "$body"; }
total="$(attribute data-live-total)"
ran="$(attribute data-live-ran)"
matched="$(attribute data-live-matched)"
done_="$(attribute data-live-done)"
echo "live views: ${total:-?} compile, ${ran:-?} ran, ${matched:-?} matched their thumbnails (done: ${done_:-no})"
grep -o 'data-fs="[^"]*" data-live="[^"]*"[^>]*data-live-state="[a-z-]*"' "$dom" |
  grep -v 'data-live-state="matched"' | sed 's/ data-live="[^"]*"//' || true
console="$(grep 'CONSOLE' "$log" || true)"
[ -z "$console" ] || { echo "the page wrote to the console:"; echo "$console"; }
[ "${2:-}" = "--measure" ] && exit 0
[ -z "$console" ] && [ "$done_" = yes ] && [ -n "$total" ] && [ "$ran" = "$total" ] && [ "$matched" = "$total" ]
