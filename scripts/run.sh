#!/usr/bin/env bash
# Builds Tarvel and starts it. Without a display it shows the command-line
# tool at work on a simulated drive instead, and says how to start the window.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$root/build/bin"
bash "$root/scripts/build.sh"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin/tarvel"
fi

demo="$(mktemp -d)"
sim=""
cleanup() {
  if [ -n "$sim" ]; then kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; fi
  rm -rf "$demo"
}
trap cleanup EXIT

# A program folder of its own, so the demonstration leaves no log or report behind.
mkdir -p "$demo/home/Data" "$demo/home/Configs"
cp "$bin/Data/QX.qxd" "$demo/home/Data/"
cli() { echo; echo "\$ tarvel-cli $*"; "$bin/tarvel-cli" --home "$demo/home" "$@"; }

echo
echo "No display here: a short demonstration with the simulated drive qxsim."
"$bin/qxsim" --drive 02,05,120 --pty "$demo/qx" >"$demo/sim.out" &
sim=$!
for _ in $(seq 50); do
  grep -q '^ready ' "$demo/sim.out" && break
  sleep 0.2
done
grep -q '^ready ' "$demo/sim.out" || { echo "The simulator did not start."; exit 1; }

cli upload "$demo/qx" -o "$demo/demo.qxc" --yes
cli check "$demo/demo.qxc"
# Change two values, write them into the drive with read-back verification,
# and read the drive again: the changes come back from the drive.
cli set "$demo/demo.qxc" P0.01=2.5 P1.03=12.5
cli download "$demo/demo.qxc" "$demo/qx" --yes --block
cli upload "$demo/qx" -o "$demo/again.qxc" --yes --block
cli compare "$demo/again.qxc"
cli report "$demo/demo.qxc" -o "$demo/report.txt"
echo "(first lines of the report)"
head -n 15 "$demo/report.txt" | tr -d '\r'

echo
echo "To start Tarvel's window: xvfb-run -a $bin/tarvel"
echo "(on a desktop: $bin/tarvel)"
