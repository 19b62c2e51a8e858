#!/usr/bin/env bash
# Installs what is missing, builds the order program and starts its window. Without a desktop
# (no DISPLAY), the window is shown on a virtual screen.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  bash "$root/scripts/install-deps.sh" --with-display
else
  bash "$root/scripts/install-deps.sh"
fi
cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=Release -DORDER_BUILD_TESTS=OFF
cmake --build "$root/build-release" -j"$(nproc)"

# The order is saved as order.qzo in the working directory: start where you want it kept.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$root/build-release/src/app/velmaro-order"
else
  exec "$root/build-release/src/app/velmaro-order"
fi
