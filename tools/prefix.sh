#!/usr/bin/env bash
# Makes the wine prefix named by WINEPREFIX/WINEARCH/VANTIX_WINE (tools/wineenv.sh) once and
# keeps its wineserver running.
# Managed=N: without a window manager, managed windows cost two seconds per close and get no keys.
# VANTIX_DPI=n makes the prefix's screen n DPI (LogPixels); a prefix keeps the DPI it was made with.
set -euo pipefail
export WINEPREFIX=${WINEPREFIX:?} WINEARCH=${WINEARCH:?} WINEDEBUG=${WINEDEBUG:--all}
wine=${VANTIX_WINE:-wine}
cpu=${VANTIX_CPU:-0}
stamp="$WINEPREFIX/.vantix-ready"
if [ ! -f "$stamp" ]; then
  mkdir -p "$WINEPREFIX"
  "$wine" wineboot -i >/dev/null 2>&1 </dev/null || true
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null
  if [ -n "${VANTIX_DPI:-}" ]; then
    "$wine" reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
      /v LogPixels /t REG_DWORD /d "$VANTIX_DPI" /f >/dev/null 2>&1 </dev/null
  fi
  if [ -d /usr/share/wine/fonts ]; then
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp -f /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  fi
  # The new prefix's first session must end before the tests use it: what wineboot leaves running
  # in it keeps the help viewer of the first test run from closing.
  timeout 120 wineserver -w >/dev/null 2>&1 || wineserver -k >/dev/null 2>&1 || true
  touch "$stamp"
fi
# A persistent server and the prefix's services started with their output sent away: a program
# run later through a pipe would otherwise hand that pipe to them and the reader would wait forever.
taskset -c "$cpu" wineserver -p >/dev/null 2>&1 || true
"$wine" wineboot >/dev/null 2>&1 </dev/null || true
