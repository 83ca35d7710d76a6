#!/usr/bin/env bash
# Configures and builds Tarvel into build/ (programs and catalogue in build/bin).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
# Release: without debug information the build takes half the time; build
# RelWithDebInfo by hand (see the README) to debug. Ninja and ccache make
# repeated builds fast; a folder configured before keeps its generator.
generator=()
if [ ! -f "$root/build/CMakeCache.txt" ] && command -v ninja >/dev/null; then
  generator=(-G Ninja)
fi
cmake -S "$root" -B "$root/build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build" -j"$(nproc)"
