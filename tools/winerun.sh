#!/usr/bin/env bash
# Runs one Windows program under wine with the prefix of its bitness and a display.
#   winerun.sh [--bits 32|64] [--prefix DIR] [--dpi N] program [args...]
# CTest calls it as the cross-compiling emulator with both options (set by the build tree);
# without them it takes VANTIX_BITS (default 32) and WINEPREFIX, else build/wineprefix.
# --dpi N: a prefix made here gets a screen of N DPI (tools/prefix.sh).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
bits=${VANTIX_BITS:-32}
prefix=${WINEPREFIX:-}
while [ $# -gt 0 ]; do
  case "$1" in
    --bits) bits=$2; shift 2 ;;
    --prefix) prefix=$2; shift 2 ;;
    --dpi) export VANTIX_DPI=$2; shift 2 ;;
    *) break ;;
  esac
done
if [ -z "$prefix" ]; then
  if [ "$bits" = 64 ]; then prefix=$root/build64/wineprefix; else prefix=$root/build/wineprefix; fi
fi
source "$here/wineenv.sh"
use_wine "$bits" "$prefix"
[ -x "$VANTIX_WINE" ] || command -v "$VANTIX_WINE" >/dev/null || {
  echo "winerun: $VANTIX_WINE is not installed (run tools/setup.sh)" >&2; exit 127; }
if [ -z "${DISPLAY:-}" ]; then
  # No display: start a private Xvfb for this one program.
  source "$here/xvfb.sh"
  start_xvfb
  trap stop_xvfb EXIT
fi
"$here/prefix.sh" >/dev/null
status=0
taskset -c "${VANTIX_CPU:-0}" "$VANTIX_WINE" "$@" || status=$?
exit $status
