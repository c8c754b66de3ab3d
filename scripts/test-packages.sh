#!/usr/bin/env bash
# Uses the packages in dist/ as a user would. The .deb: unpacked into a
# throwaway root, then installed with dpkg and removed again, its programs
# and manual pages used each time; the zip: unpacked and its isf2orvy.exe run
# under Wine. Each converts examples/ and must give the build's own output.
# Usage: scripts/test-packages.sh [build folder of the reference isf2orvy,
# default build/release]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/release}"
bash scripts/install-deps.sh man-db unzip wine wine64

deb=(dist/isf2orvy_*.deb)
zip=(dist/isf2orvy-*.zip)
[ ${#deb[@]} -eq 1 ] && [ -f "${deb[0]}" ] && [ ${#zip[@]} -eq 1 ] && [ -f "${zip[0]}" ] ||
  { echo "expected one .deb and one .zip in dist/ (bash scripts/package.sh)" >&2; exit 1; }
repo="$PWD"
work="$(mktemp -d "${TMPDIR:-/tmp}/isf2orvy-packages.XXXXXX")"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
installed=no
wine_started=no
cleanup() {
  [ "$installed" = no ] || "${sudo_cmd[@]}" dpkg -r isf2orvy >/dev/null 2>&1 || true
  [ "$wine_started" = no ] || wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

# The reference: the build's isf2orvy on a copy of examples/, relative paths,
# so that every message names the same paths as the packaged programs' do.
cp -r examples "$work/examples"
convert() {  # convert NAME COMMAND...: converts examples/ into NAME/
  mkdir "$work/$1"
  local status=0
  (cd "$work" && "${@:2}" examples "$1" </dev/null >"$1.stdout" 2>"$1.stderr") || status=$?
  echo "$status" >"$work/$1.status"
}
convert reference "$repo/$build/isf2orvy"
[ "$(ls "$work/reference" | wc -l)" -gt 0 ] || fail "the build converted no example"

# same_as_reference NAME: status, messages and files as the reference's.
same_as_reference() {
  cmp -s "$work/reference.status" "$work/$1.status" || fail "$1: exit status $(cat "$work/$1.status")"
  cmp -s "$work/reference.stdout" "$work/$1.stdout" || fail "$1: standard output differs"
  cmp -s "$work/reference.stderr" "$work/$1.stderr" || fail "$1: standard error differs"
  diff -r "$work/reference" "$work/$1" >/dev/null || fail "$1: converted files differ"
}

# man_page_works PAGE-ARGS...: man renders the page with its NAME line.
man_page_works() {
  local text
  text=$(MANWIDTH=80 man "$@" 2>&1) && grep -q '^NAME' <<<"$text" && grep -q 'isf2orvy' <<<"$text"
}

echo "== ${deb[0]}: unpacked into a throwaway root"
root="$work/root"
dpkg-deb -x "${deb[0]}" "$root"
grep -q 'libc6' <<<"$(dpkg-deb -f "${deb[0]}" Depends)" || fail "no runtime dependencies found"
programs=$(ls "$root/usr/bin")
for program in $programs; do
  # Only the tool's own programs, each with its manual page.
  [[ $program == isf2orvy || $program == isf2orvy-* ]] || fail "package holds $program"
  [ -f "$root/usr/share/man/man1/$program.1.gz" ] || fail "no manual page for $program"
  man_page_works -l "$root/usr/share/man/man1/$program.1.gz" || fail "man -l $program.1.gz"
done
convert unpacked "$root/usr/bin/isf2orvy"
same_as_reference unpacked

echo "== ${deb[0]}: installed with dpkg, used, removed"
if dpkg-query -W -f='${Status}' isf2orvy 2>/dev/null | grep -q "install ok installed"; then
  echo "skipped: isf2orvy is installed on this machine already, and stays as it is"
else
  # Minimal Debian images keep dpkg from installing anything under
  # /usr/share/man; take in our pages all the same, and say so: the check is
  # whether man finds them once installed. The last matching rule decides.
  excluded_by=""
  for config in /etc/dpkg/dpkg.cfg /etc/dpkg/dpkg.cfg.d/*; do
    [ -f "$config" ] || continue
    while IFS=' =' read -r option pattern; do
      [[ /usr/share/man/man1/isf2orvy.1.gz == $pattern ]] || continue
      if [ "$option" = path-exclude ]; then
        excluded_by="$config: $option $pattern"
      elif [ "$option" = path-include ]; then
        excluded_by=""
      fi
    done <"$config"
  done
  include=()
  if [ -n "$excluded_by" ]; then
    # The folder too: an excluded folder is not made, and its files could not be.
    include=(--path-include=/usr/share/man/man1 --path-include='/usr/share/man/man1/isf2orvy*')
    echo "note: dpkg excludes manual pages here ($excluded_by); installing with ${include[*]}"
  fi
  installed=yes
  "${sudo_cmd[@]}" dpkg "${include[@]}" -i "${deb[0]}" >/dev/null
  [ "$(command -v isf2orvy)" = /usr/bin/isf2orvy ] || fail "isf2orvy is not on the PATH"
  for program in $programs; do
    [ "$(man -w "$program")" = "/usr/share/man/man1/$program.1.gz" ] && man_page_works "$program" ||
      fail "man $program does not show the package's page"
  done
  convert installed isf2orvy
  same_as_reference installed
  "${sudo_cmd[@]}" dpkg -r isf2orvy >/dev/null
  installed=no
  [ ! -e /usr/bin/isf2orvy ] && [ ! -e /usr/share/man/man1/isf2orvy.1.gz ] || fail "dpkg -r left files"
fi

echo "== ${zip[0]}: unpacked, isf2orvy.exe under Wine"
unzip -q "${zip[0]}" -d "$work/zip"
listing=$(cd "$work/zip" && find . -type f | sed 's|^\./[^/]*/||' | sort | tr '\n' ' ')
[ "$listing" = "LICENSE README.md isf2orvy.exe " ] || fail "zip holds: $listing"
source scripts/wine-prefix.sh
wine_started=yes
wineserver -p </dev/null >/dev/null 2>&1
convert windows wine "$(echo "$work"/zip/*/isf2orvy.exe)"
cmp -s "$work/reference.status" "$work/windows.status" || fail "windows: exit status $(cat "$work/windows.status")"
# Windows names paths with backslashes, lists a folder in its own order and
# writes CR LF line ends: compare after those, byte for byte otherwise.
for stream in stdout stderr; do
  cmp -s <(sort "$work/reference.$stream") <(tr -d '\r' <"$work/windows.$stream" | tr '\\' / | sort) ||
    fail "windows: $stream differs"
done
[ "$(ls "$work/reference")" = "$(ls "$work/windows")" ] || fail "windows: other files written"
for file in "$work"/reference/*; do
  perl -pe 's/\n/\r\n/g' "$file" | cmp -s - "$work/windows/${file##*/}" ||
    fail "windows: ${file##*/} differs"
done

[ "$failures" -eq 0 ] || { echo "$failures package check(s) failed"; exit 1; }
echo "packages: the .deb unpacked and installed, and the zip under Wine, converted" \
  "$(ls "$work/reference" | wc -l) examples as the build does; man pages found"
