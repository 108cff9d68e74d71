#!/usr/bin/env bash
# Sets up what is missing, builds both bitnesses with their tests and runs the whole suite under
# wine on a private virtual display: always on the 64-bit build (wine64, win64 prefix), and on the
# 32-bit build too where this machine runs 32-bit code (tools/bits.sh). Extra arguments go to
# ctest. Fails loudly when a build fails or wine or Xvfb cannot run.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash tools/setup.sh
for tool in Xvfb xdotool import i686-w64-mingw32-g++-posix x86_64-w64-mingw32-g++-posix; do
  command -v "$tool" >/dev/null || { echo "test: $tool is missing" >&2; exit 1; }
done
bits=$(bash tools/bits.sh)

# Both bitnesses are built on every machine, tested or not. VANTIX_NO32BUILD=1 (development
# only) skips the 32-bit build and with it the 32-bit run.
tree64=$(bash tools/build.sh 64 | tail -n 1)
if [ "${VANTIX_NO32BUILD:-0}" != 0 ]; then
  bits=64
  echo "== test: 32-bit build skipped (VANTIX_NO32BUILD set)"
else
  tree32=$(bash tools/build.sh 32 | tail -n 1)
fi

source tools/wineenv.sh
source tools/xvfb.sh
servers=()
cleanup() {
  local p
  for p in "${servers[@]}"; do WINEPREFIX=$p wineserver -k >/dev/null 2>&1 || true; done
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

run_suite() {
  local b=$1 tree=$2
  echo "== test: the ${b}-bit build ($tree)"
  use_wine "$b" "$tree/wineprefix"
  [ -x "$VANTIX_WINE" ] || { echo "test: $VANTIX_WINE is missing" >&2; return 1; }
  servers+=("$WINEPREFIX" "$tree/wineprefix144")
  tools/prefix.sh || { echo "test: the ${b}-bit wine prefix could not be made" >&2; return 1; }
  # Fail loudly when wine cannot run a program at all.
  "$VANTIX_WINE" cmd /c exit 0 >/dev/null 2>&1 </dev/null || { echo "test: wine ($b-bit) cannot start programs" >&2; return 1; }
  local rc=0
  (cd "$tree" && ctest --output-on-failure "${ctest_args[@]}") || rc=$?
  wineserver -k >/dev/null 2>&1 || true
  # The prefix at 144 DPI that some tests make and use (tests/CMakeLists.txt).
  WINEPREFIX=$tree/wineprefix144 wineserver -k >/dev/null 2>&1 || true
  return $rc
}

ctest_args=("$@")
tested=()
status=0
# Where 32-bit programs run, the 64-bit suite also gets a 32-bit fixture to aim Quillet at.
if [[ " $bits " == *" 32 "* ]]; then
  export VANTIX_OTHER_BITNESS_FIXTURE="Z:${tree32//\//\\}\\bin\\vantix_fixture.exe"
fi
run_suite 64 "$tree64" && tested+=("64-bit") || status=1
unset VANTIX_OTHER_BITNESS_FIXTURE
if [[ " $bits " == *" 32 "* ]]; then
  run_suite 32 "$tree32" && tested+=("32-bit") || status=1
else
  echo "== test: 32-bit build not tested: this machine runs no 32-bit code${VANTIX_ONLY64:+ (VANTIX_ONLY64 set)}"
fi
echo "== test: builds tested and passed: ${tested[*]:-none}"
exit $status
