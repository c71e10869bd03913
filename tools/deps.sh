#!/usr/bin/env bash
# Installs the Debian packages Orvane needs to build, test and play, but only
# those that are missing: apt-get runs only when something has to be installed.
set -euo pipefail

packages=(
  g++ cmake ninja-build make pkg-config
  libsdl2-dev libfreetype-dev libfontconfig-dev libpng-dev
  fonts-ipafont-gothic fonts-ipafont-mincho
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool xclip imagemagick clang-format openbox x11-utils dpkg-dev
  clang libclang-rt-14-dev
  libfluidsynth-dev libsndfile1-dev libmpg123-dev timgm6mb-soundfont
  libarchive-dev libjpeg62-turbo-dev libgif-dev
  libavformat-dev libavcodec-dev libswscale-dev libswresample-dev libavutil-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
