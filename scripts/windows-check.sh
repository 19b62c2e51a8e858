#!/usr/bin/env bash
# The Windows build, checked on Linux without a display: the std-only core and its tests are
# cross-compiled with mingw-w64 and run under Wine, and every source of the window layer, the
# benchmark and the window tests is type-checked for Windows against the installed Qt headers
# (there is no Qt for Windows on Debian to link against).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
linux_build="${BUILD_DIR:-$root/build-test}"
build="${WINDOWS_BUILD_DIR:-$root/build-windows}"
jobs=$(nproc)
started=$(date +%s)

bash "$root/scripts/install-deps.sh" --with-windows

compiler=x86_64-w64-mingw32-g++-posix
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
mkdir -p "$build"

# Runs a step with its output in a log, shown only when the step fails.
step() {
  local log="$build/$1.log"
  shift
  if ! "$@" >"$log" 2>&1; then
    cat "$log"
    echo "Windows check failed: $*" >&2
    exit 1
  fi
}

# The core and its tests, built for Windows without optimisation (the tests are what counts).
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
step core-configure cmake -S "$root/cmake/windows-core" -B "$build/core" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE= \
  "${launcher[@]}"
step core-build cmake --build "$build/core" -j"$jobs"

# One throw-away Wine prefix for all test programs, set up once before they run in parallel.
WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all
unset DISPLAY WAYLAND_DISPLAY
trap '"$wineserver" -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
step wine-prefix "$wine" wineboot --init
step core-tests ctest --test-dir "$build/core" -j"$jobs" --output-on-failure -V
core_tests=$(awk '/\[  PASSED  \] [0-9]+ tests?\./ { n += $(NF - 1) } END { print n + 0 }' \
  "$build/core-tests.log")
if [ "$core_tests" -eq 0 ]; then
  echo "Windows check failed: no core test ran" >&2
  exit 1
fi

# The generated ui_*.h and moc headers come from the Linux build: reused where the test run
# has made one, else configured here. The global autogen target makes them without compiling.
if [ ! -f "$linux_build/CMakeCache.txt" ]; then
  step linux-configure cmake -S "$root" -B "$linux_build" -DCMAKE_BUILD_TYPE=Debug \
    -DORDER_WARNINGS_AS_ERRORS=ON -DCMAKE_AUTOGEN_ORIGIN_DEPENDS=OFF
fi
step linux-autogen-configure cmake -S "$root" -B "$linux_build" -DCMAKE_GLOBAL_AUTOGEN_TARGET=ON
step linux-autogen cmake --build "$linux_build" --target autogen -j"$jobs"

# Every window-layer source, type-checked with the Linux build's include paths and definitions.
# The mingw compiler defines _WIN32, so Qt's qsystemdetection.h sets Q_OS_WIN and every
# Windows branch is compiled. qconfig.h and the QT_FEATURE_* values stay those of the Linux
# Qt build, which is fine for a type check: the features this program uses exist on both, and
# Qt's own Windows headers (qt_windows.h, the win32-g++ mkspec) are taken as they are.
# Qt's headers, read for Windows, warn that some of their functions are "redeclared without
# dllimport attribute"; they come in through -isystem as in the Linux build, which keeps
# warnings inside them silent. Any diagnostic in our sources or generated headers fails.
checks="$build/syntax"
rm -rf "$checks"
mkdir -p "$checks/include"
# libqrencode's header sits in /usr/include beside the Linux system headers, which the cross
# compiler must not see; it includes nothing itself, so a copy of it alone stands in for the
# Windows package's.
qrencode_dir=$(sed -n 's/^ORDER_QRENCODE_INCLUDE_DIR:PATH=//p' "$linux_build/CMakeCache.txt")
cp "$qrencode_dir/qrencode.h" "$checks/include/"
step syntax-rules cmake -DCOMPILE_COMMANDS="$linux_build/compile_commands.json" \
  -DSOURCE_DIR="$root" -DCOMPILER="$compiler" -DLOG_DIR="$checks" -DOUTPUT="$checks/Makefile" \
  "-DFLAGS=-isystem $checks/include -Wall -Wextra -Wpedantic -Werror" \
  -P "$root/cmake/windows-syntax-rules.cmake"
sources=$(grep -c '^	@' "$checks/Makefile")
status=0
make -s -k -j"$jobs" -f "$checks/Makefile" >/dev/null 2>&1 || status=1
for log in "$checks"/*.log; do
  if [ -s "$log" ]; then
    cat "$log"
    status=1
  fi
done
if [ "$status" -ne 0 ]; then
  echo "Windows check failed: the window-layer sources do not type-check for Windows" >&2
  exit 1
fi

echo "Windows check: $core_tests core tests passed under Wine, $sources window-layer sources" \
  "type-checked for Windows, in $(($(date +%s) - started)) s"
