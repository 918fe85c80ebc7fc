#!/usr/bin/env bash
# Builds the shipped 32-bit Pairmate and writes what a Windows user downloads:
#   dist/Pairmate-<version>.zip        pairmate.exe and readme.txt
#   dist/Pairmate-<version>-setup.exe  the installer (NSIS, Unicode, 32-bit),
#                                      which installs both
# <version> comes from the file VERSION, which the program's resources use too.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
bash scripts/setup.sh

read -r version < VERSION
if ! [[ "$version" =~ ^[0-9]+\.[0-9]+$ ]]; then
    echo "package: VERSION must hold major.minor, not '$version'" >&2
    exit 1
fi

cmake --no-warn-unused-cli -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-win32 -j2 --target pairmate

stage="$root/build-win32/package"
rm -rf "$stage"
mkdir -p "$stage" dist
cp build-win32/bin/pairmate.exe "$stage/pairmate.exe"
# The read-me in UTF-8 with a byte-order mark and CR LF: Notepad (from XP on)
# reads it so on Japanese and on English Windows alike, whatever the system's
# code page.
{ printf '\xEF\xBB\xBF'; sed -e "s/@VERSION@/$version/" -e 's/$/\r/' packaging/readme.txt; } > "$stage/readme.txt"

zip="dist/Pairmate-$version.zip"
setup="dist/Pairmate-$version-setup.exe"
rm -f "$zip" "$setup"
(cd "$stage" && zip -q -X "$root/$zip" pairmate.exe readme.txt)
makensis -V2 -WX -INPUTCHARSET UTF8 \
    "-DVERSION=$version" "-DEXE=$stage/pairmate.exe" "-DREADME=$stage/readme.txt" "-DICON=$root/src/res/pairmate.ico" \
    "-DOUTFILE=$root/$setup" packaging/pairmate.nsi

echo "package: wrote"
ls -l "$zip" "$setup" | awk '{print "  " $NF "  " $5 " bytes"}'
