#!/usr/bin/env bash
# Sets up what is missing, builds Vantix with its tests and runs every test under wine on a
# private virtual display. Fails loudly when wine or Xvfb cannot run.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash tools/setup.sh
for tool in wine Xvfb xdotool import i686-w64-mingw32-g++-posix; do
  command -v "$tool" >/dev/null || { echo "test: $tool is missing" >&2; exit 1; }
done

build=${VANTIX_BUILD:-$root/build}
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)"

export WINEPREFIX=${WINEPREFIX:-$build/wineprefix} WINEARCH=win32 WINEDEBUG=-all
source tools/xvfb.sh
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  stop_xvfb
}
trap cleanup EXIT
# Always a display of our own unless told otherwise: tests move the mouse and take screenshots.
if [ -z "${VANTIX_TEST_DISPLAY:-}" ]; then
  unset DISPLAY
  start_xvfb
else
  export DISPLAY=$VANTIX_TEST_DISPLAY
fi
tools/prefix.sh
# Fail loudly when wine cannot run a program at all.
wine cmd /c exit 0 >/dev/null 2>&1 || { echo "test: wine cannot start programs" >&2; exit 1; }

cd "$build"
ctest --output-on-failure "$@"
