#!/usr/bin/env bash
# Installs the Debian 12 packages Tarvel needs to build, run and test,
# skipping what is already there. Run as root (or with sudo available).
set -euo pipefail

packages=(
  cmake g++ make ninja-build ccache
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite
  qt6-serialport-dev qt6-charts-dev qt6-svg-dev libqt6opengl6-dev
  libgl-dev fonts-dejavu-core
  xvfb xauth
  pkg-config libmodbus-dev
  dpkg-dev appstream desktop-file-utils shared-mime-info
  help2man
  # tests only: reads the text of printed PDF files
  poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
