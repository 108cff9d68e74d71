#!/usr/bin/env bash
# Checks one release zip: check_release.sh ZIP BITS TREE. Exactly the four files, binaries
# stripped and needing no DLL beyond the system's and Quillet.dll, then (under wine, with TREE's
# prefix and test program) the version resources of the unpacked files and a start of Vantix.exe
# from a folder that holds only them. Exit 77 (a skip for CTest) when the zip has not been made.
set -euo pipefail
zip=$1 bits=$2 tree=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [ ! -f "$zip" ]; then
  echo "check_release: $zip has not been made (tools/release.sh makes it): skipped"
  exit 77
fi
if [ "$bits" = 64 ]; then triple=x86_64-w64-mingw32; else triple=i686-w64-mingw32; fi
fail() { echo "check_release: $*" >&2; exit 1; }

listed=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
[ "$listed" = "Quillet.dll README.txt Vantix.chm Vantix.exe " ] || fail "the zip holds: $listed"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip" -d "$work/Vantix"

# The DLLs every Windows since XP has in its system folder, and the one that ships beside it.
allowed=" kernel32.dll user32.dll gdi32.dll advapi32.dll comctl32.dll comdlg32.dll shell32.dll psapi.dll msvcrt.dll quillet.dll "
for f in Vantix.exe Quillet.dll; do
  file=$work/Vantix/$f
  format=$("$triple-objdump" -f "$file" | sed -n 's/.*file format //p')
  case "$bits:$format" in
    64:pei-x86-64|32:pei-i386) ;;
    *) fail "$f is $format, not a $bits-bit binary" ;;
  esac
  for dll in $("$triple-objdump" -p "$file" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z'); do
    [[ "$allowed" == *" $dll "* ]] || fail "$f needs $dll"
  done
  "$triple-objdump" -h "$file" | grep -q '\.debug_' && fail "$f carries debug sections"
  "$triple-objdump" -t "$file" | grep -qx "no symbols" || fail "$f still has its symbol table"
  echo "check_release: $f: $format, imports only system DLLs and Quillet.dll, stripped"
done
[ -s "$work/Vantix/Vantix.chm" ] || fail "Vantix.chm is empty"
grep -q "Vantix" "$work/Vantix/README.txt" || fail "README.txt does not name the program"

winpath="Z:$(echo "$work/Vantix" | sed 's|/|\\|g')"
VANTIX_RELEASE_DIR=$winpath "$here/winerun.sh" --bits "$bits" --prefix "$tree/wineprefix" \
  "$tree/bin/release_test.exe" --gtest_filter='ReleaseZip.*'
