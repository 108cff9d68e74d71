#!/usr/bin/env bash
# Installs everything Vantix needs to build and to run under Wine on a fresh Debian 12 machine.
# Safe to run again: it installs only what is missing.
set -euo pipefail

need=(mingw-w64 g++-mingw-w64-i686-posix cmake make xvfb xdotool imagemagick fonts-wine googletest wine wine32:i386 x11-utils)

missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
command -v i686-w64-mingw32-g++-posix >/dev/null || missing+=(g++-mingw-w64-i686-posix)
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq

if ! $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"; then
  # The security suite's i386 index can lag behind the main mirror, and apt then calls
  # wine32:i386 "held broken". Installing from a sources list without that suite works.
  alt=$(mktemp -d)
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] || continue
    awk 'BEGIN{RS="";ORS="\n\n"} !/-security/' "$f" > "$alt/$(basename "$f")"
  done
  if [ -f /etc/apt/sources.list ]; then
    grep -v -- '-security' /etc/apt/sources.list > "$alt/plain.list" || true
  fi
  opts=(-o Dir::Etc::sourcelist=/dev/null -o Dir::Etc::sourceparts="$alt")
  $SUDO apt-get "${opts[@]}" update -qq
  $SUDO apt-get "${opts[@]}" install -y -qq --no-install-recommends "${missing[@]}"
  rm -rf "$alt"
fi
