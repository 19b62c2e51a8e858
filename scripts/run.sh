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
program="$root/build-release/src/app/velmaro-order"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$program"
fi

# No desktop: a virtual screen on the first free display number from 99 on.
n=99
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X$n" ] || ! kill -0 "$xvfb" 2>/dev/null && break
  sleep 0.1
done
if ! kill -0 "$xvfb" 2>/dev/null || [ ! -e "/tmp/.X11-unix/X$n" ]; then
  kill "$xvfb" 2>/dev/null || true
  echo "The virtual screen :$n did not start; the window cannot be shown." >&2
  exit 1
fi
DISPLAY=":$n" "$program" &
app=$!
trap 'kill "$app" "$xvfb" 2>/dev/null || true' EXIT
trap 'exit 130' INT TERM
echo "No desktop here: the order window runs on the virtual screen :$n. See it with" \
  "'DISPLAY=:$n import -window root order.png' (ImageMagick); stop it with Ctrl+C or 'kill $app'."
wait "$app"
