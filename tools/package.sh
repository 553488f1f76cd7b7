#!/usr/bin/env bash
# Lays out one program as it is handed out: DIST/FOLDER/ with the stripped
# program, its pictures and the help file (Windows line ends), and
# DIST/ZIP holding that folder. The same bytes from the same sources: the
# program is dated SOURCE_DATE_EPOCH (strip writes the PE header's time
# stamp afresh, from it where it is set), and so is every entry of the zip.
# Usage: package.sh STRIP PROGRAM.exe DIST FOLDER ZIP VERSION
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
strip=$1 program=$2 dist=$3 folder=$4 zip=$5 version=$6
: "${SOURCE_DATE_EPOCH:?the time to date the program and the zip with}"
rm -rf "${dist:?}/$folder" "$dist/$zip"
mkdir -p "$dist/$folder/graphics"
"$strip" -o "$dist/$folder/Brawlwise.exe" "$program"
cp "$here"/graphics/res1.ico "$here"/graphics/tick.bmp "$here"/graphics/cross.bmp "$dist/$folder/graphics/"
sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$here/docs/Brawlwise-Help.txt" >"$dist/$folder/Brawlwise Help.txt"
/usr/bin/python3 "$here/tools/make-zip.py" "$dist/$zip" "$dist/$folder"
echo "$dist/$folder and $dist/$zip are ready."
