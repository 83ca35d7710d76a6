#!/usr/bin/env bash
# Builds Tarvel and its Debian package build/tarvel_VERSION_ARCH.deb, after
# checking the package: unpacked into a temporary root, its tarvel-cli lists
# the drives of its own catalogue and tarvel --version answers; its desktop
# entry, metainfo and MIME types pass their validators.
# Install it with: sudo apt install ./build/tarvel_*.deb
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/build.sh"
TARVEL_PACKAGE_OUT="$root/build" bash "$root/scripts/check-package.sh" "$root/build"
