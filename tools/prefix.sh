#!/usr/bin/env bash
# Makes the project's 32-bit wine prefix once and keeps the wineserver running.
# Managed=N: without a window manager, managed windows cost two seconds per close and get no keys.
set -euo pipefail
export WINEPREFIX=${WINEPREFIX:?} WINEARCH=win32 WINEDEBUG=${WINEDEBUG:--all}
stamp="$WINEPREFIX/.vantix-ready"
if [ ! -f "$stamp" ]; then
  mkdir -p "$WINEPREFIX"
  taskset -c 0 wineserver -p >/dev/null 2>&1 || true
  wine wineboot -i >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  if [ -d /usr/share/wine/fonts ]; then
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp -f /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  fi
  touch "$stamp"
fi
# A persistent server and the prefix's services started with their output sent away: a program
# run later through a pipe would otherwise hand that pipe to them and the reader would wait forever.
taskset -c 0 wineserver -p >/dev/null 2>&1 || true
wine wineboot >/dev/null 2>&1 </dev/null || true
