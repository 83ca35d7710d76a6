#!/usr/bin/env bash
# Builds Tarvel and starts it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/build.sh"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo
  echo "Tarvel is built, but this machine has no display to show its window on."
  echo "Start it under a virtual display with:"
  echo "  xvfb-run -a $root/build/bin/tarvel"
  exit 0
fi
exec "$root/build/bin/tarvel"
