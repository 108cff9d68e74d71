# Sourced: use_wine BITS PREFIX exports what a wine run of that bitness needs:
# WINEPREFIX (one prefix per bitness), WINEARCH, WINEDEBUG, and VANTIX_WINE, the loader to call.
# Debian's /usr/bin/wine prefers the 32-bit loader, so 64-bit runs call wine64 itself; WINELOADER
# makes the programs they start use the same loader.
use_wine() {
  local bits=$1 prefix=$2
  export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all}
  if [ "$bits" = 64 ]; then
    export WINEARCH=win64
    VANTIX_WINE=/usr/lib/wine/wine64
    [ -x "$VANTIX_WINE" ] || VANTIX_WINE=$(command -v wine64 || echo wine64)
    export WINELOADER=$VANTIX_WINE
  else
    export WINEARCH=win32
    VANTIX_WINE=/usr/lib/wine/wine
    [ -x "$VANTIX_WINE" ] || VANTIX_WINE=wine
    unset WINELOADER
  fi
  export VANTIX_WINE
}
