#!/usr/bin/env bash
# Sets up what is missing, builds Vantix and runs it under wine: the 32-bit build where this
# machine runs 32-bit code, else the 64-bit build (it says which). Without a display it runs on
# a virtual one, saves a screenshot of the main dialog and closes the program again.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash tools/setup.sh
if [[ " $(bash tools/bits.sh) " == *" 32 "* ]]; then bits=32; else bits=64; fi
tree=$(bash tools/build.sh "$bits" Vantix Quillet | tail -n 1)
echo "run: the ${bits}-bit build ($tree/bin/Vantix.exe)"

source tools/wineenv.sh
use_wine "$bits" "$tree/wineprefix"
source tools/xvfb.sh
virtual=0
if [ -z "${DISPLAY:-}" ]; then
  start_xvfb
  virtual=1
fi
tools/prefix.sh

if [ "$virtual" = 0 ]; then
  exec "$VANTIX_WINE" "$tree/bin/Vantix.exe" "$@"
fi

shot=$root/vantix-screenshot.png
"$VANTIX_WINE" "$tree/bin/Vantix.exe" "$@" &
for _ in $(seq 1 100); do
  xdotool search --name '^Vantix$' >/dev/null 2>&1 && break
  sleep 0.2
done
sleep 1
import -window root "$shot"
echo "Vantix is running on the virtual display $DISPLAY; screenshot of the main dialog: $shot"
wineserver -k >/dev/null 2>&1 || true
stop_xvfb
