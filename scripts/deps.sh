#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the editor need.
# Skips apt entirely when everything is present, so repeated runs stay fast.
set -euo pipefail
TAV_PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-serialport-dev
  libqt6sql6-sqlite libqt6sql6-psql postgresql libgl-dev poppler-utils desktop-file-utils fontconfig fonts-liberation xvfb xauth)
missing=()
for p in "${TAV_PACKAGES[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
