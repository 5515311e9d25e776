#!/usr/bin/env bash
# Installs the Debian packages the game, its tools and its tests need.
# Non-interactive; runs apt-get as root, through sudo otherwise; skips what is installed.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config
  libsdl2-dev libx11-dev libpng-dev zlib1g-dev libjpeg62-turbo-dev
  libmpg123-dev libogg-dev libvorbis-dev
  libfreetype-dev libfontconfig-dev fonts-misaki fonts-ipafont-gothic
  libgtest-dev libgmock-dev libbenchmark-dev
  lame xvfb xdotool xauth libxdamage-dev
)

missing=()
for pkg in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
