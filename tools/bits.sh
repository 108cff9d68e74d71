#!/usr/bin/env bash
# Which Windows builds this machine can run under Wine. The 64-bit build always runs (wine64);
# the 32-bit build needs wine32, which needs a kernel that runs i386 programs. Some of our
# machines' kernels do not ("Exec format error"), so this is decided by running one.
#   bits.sh --probe    exit 0 when an i386 program runs here
#   bits.sh --decide   probe once, remember the answer, print it
#   bits.sh            print the builds to test: "64 32" or "64"
# VANTIX_ONLY64=1 forces the 64-bit-only answer, so that a machine that runs 32-bit code can
# prove the other path too.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cache=$root/.vantix-machine

probe() {
  local elf
  elf=$(mktemp)
  # A 93-byte i386 ELF program that only calls exit(0).
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' > "$elf"
  chmod +x "$elf"
  local rc=0
  "$elf" >/dev/null 2>&1 || rc=$?
  rm -f "$elf"
  return $rc
}

decide() {
  if probe; then
    echo runs32=yes > "$cache"
    echo "machine: runs 32-bit code; both the 32-bit and the 64-bit build can be tested here"
  else
    echo runs32=no > "$cache"
    echo "machine: runs no 32-bit code (Exec format error); only the 64-bit build can be tested here"
  fi
}

case "${1:-}" in
  --probe) probe ;;
  --decide) decide ;;
  "")
    [ -f "$cache" ] || decide >&2
    if [ "${VANTIX_ONLY64:-0}" != 0 ] || ! grep -qx runs32=yes "$cache"; then
      echo 64
    else
      echo "64 32"
    fi
    ;;
  *) echo "usage: bits.sh [--probe|--decide]" >&2; exit 2 ;;
esac
