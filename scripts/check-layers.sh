#!/usr/bin/env bash
# Includes run downwards only: form -> controls, platform, print -> core. Fails, naming the
# line, where an include runs the other way or an include of the window layer does not name
# its folder. Reads the sources as text; builds nothing.
set -euo pipefail
src="${1:-$(cd "$(dirname "$0")/.." && pwd)/src}"
status=0

# Prints every line of the files below $1 whose include matches $2, and marks the check failed.
refuse() {
  local hits
  hits=$(grep -rnE --include='*.h' --include='*.cpp' --include='*.ui' "$2" "$1" || true)
  if [ -n "$hits" ]; then
    printf '%s\n%s\n' "$3" "$hits" >&2
    status=1
  fi
}

refuse "$src/core" '#include *["<](form|controls|platform|print|app)/|#include *<Q' \
  'The core includes only the standard library and itself:'
for folder in controls platform print; do
  refuse "$src/app/$folder" '#include *"(form/|ui_)|<header>form/' \
    "src/app/$folder/ may include the core, controls, platform and print, never the forms:"
done
refuse "$src/app" '#include *"([^"/]*|[^"]*\.\./[^"]*)"' \
  'An include of the window layer names its folder (core/, form/, controls/, platform/, print/):'

if [ "$status" -eq 0 ]; then
  echo "Layers: every include runs downwards."
fi
exit "$status"
