#!/usr/bin/env bash
# Brings a fresh Debian 12 machine what the build, the tests and the demo need.
# Packages already present are skipped, so a second run is quick and offline.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libboost-dev
  libsdl2-dev libsdl2-image-dev
  libjpeg62-turbo-dev
  libfreetype-dev libfontconfig-dev fonts-ipafont-gothic
  libimgui-dev
  libfluidsynth-dev timgm6mb-soundfont
  libmpg123-dev libsndfile1-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev libpixman-1-dev
  clang-14 libclang-rt-14-dev
  xvfb x11-utils xauth imagemagick
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
