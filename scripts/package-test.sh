#!/usr/bin/env bash
# Builds the Debian package, installs it with dpkg and starts the installed program on a
# virtual screen; passes when its window comes up. Leaves a screenshot in build-package/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-package"

bash "$root/scripts/install-deps.sh" --with-display
missing=()
for p in dpkg-dev file x11-utils imagemagick; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DORDER_BUILD_TESTS=OFF \
  -DORDER_BUILD_BENCH=OFF -DCMAKE_INSTALL_PREFIX=/usr
cmake --build "$build" -j"$(nproc)"
(cd "$build" && cpack -G DEB)
deb=$(ls -t "$build"/velmaro-order_*.deb | head -n 1)
echo "Package: $deb"
dpkg-deb --info "$deb"
dpkg -i "$deb"

for f in /usr/bin/velmaro-order /usr/share/applications/velmaro-order.desktop \
         /usr/share/icons/hicolor/scalable/apps/velmaro-order.svg; do
  test -e "$f" || { echo "missing after install: $f"; exit 1; }
done

# Start the installed program where it may write its files, and wait for its window.
work=$(mktemp -d)
cd "$work"
export XDG_RUNTIME_DIR="$work/runtime"; mkdir -m 700 "$XDG_RUNTIME_DIR"
Xvfb :97 -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
export DISPLAY=:97
sleep 1
velmaro-order &
app=$!
for _ in $(seq 1 50); do
  if xwininfo -root -tree 2>/dev/null | grep -q '"VELMARO Order Software V6.1"'; then
    import -window root "$build/installed-window.png"
    kill "$app"
    echo "The installed program started and showed its window."
    exit 0
  fi
  kill -0 "$app" 2>/dev/null || { echo "the installed program ended early"; exit 1; }
  sleep 0.2
done
kill "$app" 2>/dev/null || true
echo "the installed program showed no window"
exit 1
