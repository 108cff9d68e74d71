#!/usr/bin/env bash
# Makes the two release zips: both bitnesses built in Release (without tests or benchmarks) in
# build-release32/ and build-release64/, their binaries stripped, and
#   dist/Vantix-<version>-win32.zip and dist/Vantix-<version>-win64.zip
# each holding Vantix.exe, Quillet.dll, Vantix.chm and README.txt. The version comes from
# resources/version.h. Installs what is missing first (tools/setup.sh).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash tools/setup.sh >/dev/null
command -v chmcmd >/dev/null || { echo "release: chmcmd (fp-utils) is missing: the zips need Vantix.chm" >&2; exit 1; }

full=$(sed -n 's/^#define VANTIX_VERSION_TEXT *"\([0-9.]*\)".*/\1/p' resources/version.h)
[ -n "$full" ] || { echo "release: no version in resources/version.h" >&2; exit 1; }
version=${full%.*}    # 1.0.0.0 -> 1.0.0

mkdir -p dist
for bits in 32 64; do
  if [ "$bits" = 64 ]; then triple=x86_64-w64-mingw32; toolchain=cmake/mingw-x86_64.cmake
  else triple=i686-w64-mingw32; toolchain=cmake/mingw-i686.cmake; fi
  tree=$root/build-release$bits
  cmake -S . -B "$tree" -DCMAKE_TOOLCHAIN_FILE=$toolchain -DCMAKE_BUILD_TYPE=Release \
        -DVANTIX_TESTS=OFF -DVANTIX_BENCH=OFF >/dev/null
  cmake --build "$tree" -j"$(nproc)" >/dev/null
  [ -s "$tree/bin/Vantix.chm" ] || { echo "release: $tree/bin/Vantix.chm was not built" >&2; exit 1; }

  stage=$(mktemp -d)
  cp "$tree/bin/Vantix.exe" "$tree/bin/Quillet.dll" "$tree/bin/Vantix.chm" "$stage/"
  "$triple-strip" --strip-all "$stage/Vantix.exe" "$stage/Quillet.dll"
  # Windows line ends, so that Notepad of any age shows the lines.
  sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' help/readme.txt > "$stage/README.txt"
  zip="$root/dist/Vantix-$version-win$bits.zip"
  rm -f "$zip"
  (cd "$stage" && zip -q -X "$zip" Vantix.exe Quillet.dll Vantix.chm README.txt)
  rm -rf "$stage"
  echo "release: $zip"
done
