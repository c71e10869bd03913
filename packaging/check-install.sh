#!/bin/sh
# Installs the build into a temporary prefix and checks what a desktop finds there: the program
# that answers --version, the manual page, the desktop entry and a 256x256 PNG icon.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
fail() { echo "install: $*" >&2; exit 1; }

"$prefix/bin/orvane" --version | grep -q 'Orvane Version 1.22' || fail "bin/orvane does not run"
man=$prefix/share/man/man6/orvane.6
grep -q '^\.TH ORVANE 6' "$man" || fail "no manual page header in $man"
grep -q '^\.B \\-\\-fullscreen' "$man" || fail "the manual page misses --fullscreen"
desktop=$prefix/share/applications/orvane.desktop
grep -qx 'Exec=orvane %f' "$desktop" || fail "the desktop entry does not start orvane"
grep -q '^Categories=Game;' "$desktop" || fail "the desktop entry is not in Game"
icon=$prefix/share/icons/hicolor/256x256/apps/orvane.png
# The PNG signature, then the IHDR chunk's width and height (256 = 00 00 01 00).
header=$(od -An -tx1 -N24 "$icon" | tr -d ' \n')
[ "${header%%0000000d49484452*}" = "89504e470d0a1a0a" ] || fail "$icon is not a PNG"
[ "${header#*49484452}" = "0000010000000100" ] || fail "$icon is not 256x256"
if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate refused the entry"
fi
echo "installed and checked in $prefix"
