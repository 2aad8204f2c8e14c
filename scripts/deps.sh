#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the editor need.
# Skips apt entirely when everything is present, so repeated runs stay fast:
# one dpkg-query answers for all of them, and only an installed package ("ii",
# not one removed with its configuration kept) counts as present.
set -euo pipefail
TAV_PACKAGES=(build-essential cmake ninja-build pkg-config lld qt6-base-dev qt6-serialport-dev
  libqt6sql6-sqlite libqt6sql6-psql postgresql libgl-dev poppler-utils desktop-file-utils fontconfig fonts-liberation xvfb xauth)
declare -A present=()
while read -r name status; do
  if [ "$status" = ii ]; then present[$name]=1; fi
done < <(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "${TAV_PACKAGES[@]}" 2>/dev/null || true)
missing=()
for p in "${TAV_PACKAGES[@]}"; do
  [ -n "${present[$p]:-}" ] || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
