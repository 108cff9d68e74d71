#!/usr/bin/env bash
# Sets up what is missing, builds Vantix and runs it under wine. Without a display it runs on a
# virtual one, saves a screenshot of the main dialog and closes the program again.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash tools/setup.sh
build=${VANTIX_BUILD:-$root/build}
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target Vantix Quillet

export WINEPREFIX=${WINEPREFIX:-$build/wineprefix} WINEARCH=win32 WINEDEBUG=-all
source tools/xvfb.sh
virtual=0
if [ -z "${DISPLAY:-}" ]; then
  start_xvfb
  virtual=1
fi
tools/prefix.sh

if [ "$virtual" = 0 ]; then
  exec wine "$build/bin/Vantix.exe" "$@"
fi

shot=$root/vantix-screenshot.png
wine "$build/bin/Vantix.exe" "$@" &
for _ in $(seq 1 100); do
  xdotool search --name '^Vantix$' >/dev/null 2>&1 && break
  sleep 0.2
done
sleep 1
import -window root "$shot"
echo "Vantix is running on the virtual display $DISPLAY; screenshot of the main dialog: $shot"
wineserver -k >/dev/null 2>&1 || true
stop_xvfb
