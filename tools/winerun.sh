#!/usr/bin/env bash
# Runs one Windows program under wine with the project's prefix and a display.
# Used by CTest as the cross-compiling emulator and by the run and test scripts.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
command -v wine >/dev/null || { echo "winerun: wine is not installed (run tools/setup.sh)" >&2; exit 127; }
if [ -z "${DISPLAY:-}" ]; then
  # No display: start a private Xvfb for this one program.
  source "$here/xvfb.sh"
  start_xvfb
  trap stop_xvfb EXIT
fi
"$here/prefix.sh" >/dev/null
status=0
taskset -c 0 wine "$@" || status=$?
exit $status
