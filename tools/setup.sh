#!/usr/bin/env bash
# Installs everything Vantix needs to build both bitnesses and to run them under Wine on a fresh
# Debian 12 machine, then decides once whether this machine runs 32-bit code (tools/bits.sh).
# Safe to run again: it installs only what is missing.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

need=(mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix cmake make xvfb xdotool
      imagemagick fonts-wine googletest wine wine64 x11-utils fp-utils python3 zip unzip)
# wine32 installs on both kinds of machine; it only runs where the kernel runs i386 programs.
need32=(wine32:i386)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

missing=()
for p in "${need[@]}"; do installed "$p" || missing+=("$p"); done
missing32=()
for p in "${need32[@]}"; do installed "$p" || missing32+=("$p"); done

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive

# apt-get install, retried without the security suite: its i386 index can lag behind the main
# mirror, and apt then calls wine32:i386 "held broken".
apt_install() {
  $SUDO apt-get install -y -qq --no-install-recommends "$@" && return 0
  local alt f
  alt=$(mktemp -d)
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] || continue
    awk 'BEGIN{RS="";ORS="\n\n"} !/-security/' "$f" > "$alt/$(basename "$f")"
  done
  if [ -f /etc/apt/sources.list ]; then
    grep -v -- '-security' /etc/apt/sources.list > "$alt/plain.list" || true
  fi
  local opts=(-o Dir::Etc::sourcelist=/dev/null -o Dir::Etc::sourceparts="$alt")
  local rc=0
  $SUDO apt-get "${opts[@]}" update -qq && $SUDO apt-get "${opts[@]}" install -y -qq --no-install-recommends "$@" || rc=$?
  rm -rf "$alt"
  return $rc
}

if [ ${#missing[@]} -gt 0 ] || [ ${#missing32[@]} -gt 0 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -qq
  [ ${#missing[@]} -eq 0 ] || apt_install "${missing[@]}"
  if [ ${#missing32[@]} -gt 0 ] && ! apt_install "${missing32[@]}"; then
    # Without 32-bit support in the kernel the package's scripts cannot run; the 64-bit build
    # is all such a machine can test, so this is not fatal there.
    if bash "$here/bits.sh" --probe >/dev/null; then
      echo "setup: wine32:i386 failed to install on a machine that runs 32-bit code" >&2
      exit 1
    fi
    echo "setup: wine32:i386 not installed; this machine runs no 32-bit code"
  fi
fi

bash "$here/bits.sh" --decide
