#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages Zantrove needs (only the missing ones), then configures and builds.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${ZANTROVE_BUILD_DIR:-$root/build}

packages=(
  g++ cmake make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 libgl-dev fonts-dejavu-core
  qt6-webengine-dev
  libmediainfo-dev libmediainfo0v5 mediainfo
  ffmpeg
  libgtest-dev
  clang libclang-rt-dev
  xvfb xauth x11-utils imagemagick
  xdg-user-dirs
  libgpod-dev dbus
  appstream desktop-file-utils bash-completion man-db groff-base
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    # A package that this Debian does not know is not "missing", it is absent: skip it quietly.
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  installable=()
  for p in "${missing[@]}"; do
    if apt-cache show "$p" >/dev/null 2>&1; then installable+=("$p"); fi
  done
  if ((${#installable[@]})); then
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${installable[@]}" >/dev/null
  fi
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=${ZANTROVE_BUILD_TYPE:-RelWithDebInfo} >/dev/null
cmake --build "$build" -j"$(nproc)"
