#!/bin/sh
# Packs the build with cpack into a temporary folder and reads the package back with dpkg-deb:
# its name, its Debian dependencies and the files it installs. Skipped (77) without dpkg-deb.
set -eu
build=$1
command -v dpkg-deb >/dev/null 2>&1 || { echo "dpkg-deb absent: skipped"; exit 77; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
deb=$(ls "$out"/*.deb)
fail() { echo "package: $*" >&2; exit 1; }
info=$(dpkg-deb --info "$deb")
echo "$info"
echo "$info" | grep -q '^ Package: orvane$' || fail "the package is not named orvane"
for dep in libsdl2-2.0-0 libfreetype6 libfontconfig1 libpng16-16 libfluidsynth3 libsndfile1 \
           libmpg123-0 libarchive13 libjpeg62-turbo libgif7 fonts-ipafont-gothic; do
  echo "$info" | grep '^ Depends:' | grep -q "$dep" || fail "Depends lacks $dep"
done
contents=$(dpkg-deb --contents "$deb")
for file in ./usr/bin/orvane ./usr/share/man/man6/orvane.6 \
            ./usr/share/applications/orvane.desktop \
            ./usr/share/icons/hicolor/256x256/apps/orvane.png; do
  echo "$contents" | grep -q " $file\$" || fail "the package lacks $file"
done
