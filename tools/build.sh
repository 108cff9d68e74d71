#!/usr/bin/env bash
# Builds one bitness: build.sh 32|64 [targets...]. Trees: build/ (32-bit, the deliverables the
# README leads with) and build64/ (64-bit), overridable with VANTIX_BUILD / VANTIX_BUILD64.
# Prints the tree's path as its last line.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bits=$1; shift
if [ "$bits" = 64 ]; then
  tree=${VANTIX_BUILD64:-$root/build64}; toolchain=cmake/mingw-x86_64.cmake
else
  tree=${VANTIX_BUILD:-$root/build}; toolchain=cmake/mingw-i686.cmake
fi
cd "$root"
cmake -S . -B "$tree" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$tree" -j"$(nproc)" "${targets[@]}" >&2
echo "$tree"
