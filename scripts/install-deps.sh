#!/usr/bin/env bash
# Installs what building, running and testing the order program needs on Debian (12 or later),
# and only what is missing, so a second run does not touch the network.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libxcb1-dev  # asks the X server whether a clipboard manager runs
  libqrencode-dev  # draws the payment code
  libgtest-dev
  poppler-utils  # pdftotext, pdfinfo and pdftoppm read the printed order back in the tests
  zbar-tools  # zbarimg scans the payment code back in the tests
  fonts-liberation2
  # The clipboard test runs a virtual X server and pastes from a second program; the window
  # test gives such a server a desktop work area with xprop (x11-utils).
  xvfb xclip x11-utils
  # The window runs natively in a Wayland session.
  qt6-wayland
  # The program as a child read through the accessibility bus, on X and on a headless Wayland
  # compositor: a private session bus, the accessibility bus, its Python client, weston.
  dbus-daemon dbus-bin at-spi2-core python3-pyatspi weston
)
for extra in "$@"; do
  case "$extra" in
    # A virtual screen for starting the window on a machine without a desktop, and the
    # screenshot tool that run.sh names for looking at it.
    --with-display) packages+=(xvfb xauth imagemagick) ;;
    # The Windows check: the cross compiler, wine64 (it alone runs 64-bit programs; the wine
    # package would only add 32-bit support and a launcher) and GoogleTest's sources, built
    # there for the target.
    --with-windows) packages+=(g++-mingw-w64-x86-64-posix wine64 googletest) ;;
    *) echo "install-deps.sh: unknown option $extra" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
