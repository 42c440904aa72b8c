#!/usr/bin/env bash
# Brings a fresh Debian 12 machine what the build, the tests and the demo need.
# Packages already present are skipped, so a second run is quick and offline.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libboost-dev
  libsdl2-dev libsdl2-image-dev
  libjpeg62-turbo-dev
  libfreetype-dev libfontconfig-dev fonts-ipafont-gothic fonts-dejavu-core
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

# Another apt may hold its locks: a fresh machine's unattended upgrades, or the
# other README command started at the same time. apt waits for dpkg's lock by
# DPkg::Lock::Timeout, but not for the package lists' lock of "update" nor the
# download cache's: a refusal over a lock held elsewhere is tried again until
# the same ten minutes are up.
apt_get() { # arguments of apt-get
  local deadline=$((SECONDS + 600)) said=0 log
  log=$(mktemp)
  until "${as_root[@]}" env LC_ALL=C DEBIAN_FRONTEND=noninteractive \
      apt-get -o DPkg::Lock::Timeout=600 "$@" 2>"$log"; do
    if ! grep -q 'Could not get lock' "$log" || [ "$SECONDS" -ge "$deadline" ]; then
      cat "$log" >&2
      rm -f "$log"
      return 1
    fi
    [ "$said" -eq 1 ] || echo "waiting for another apt to release its lock" >&2
    said=1
    sleep 5
  done
  cat "$log" >&2
  rm -f "$log"
}

apt_get update -qq
apt_get install -y -qq --no-install-recommends "${missing[@]}"
