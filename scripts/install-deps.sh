#!/usr/bin/env bash
# Installs the Debian 12 packages ORYX needs to build, run and test.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libgl-dev
  libre2-dev
  xvfb xauth poppler-utils desktop-file-utils
  libqt6svg6 dpkg-dev file
  clang
  nlohmann-json3-dev
  libyaml-cpp-dev
  vim-tiny
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
