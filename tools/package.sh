#!/usr/bin/env bash
# Lays out one program as it is handed out: DIST/FOLDER/ with the stripped
# program, its pictures and the help file (Windows line ends), and
# DIST/ZIP holding that folder.
# Usage: package.sh STRIP PROGRAM.exe DIST FOLDER ZIP
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
strip=$1 program=$2 dist=$3 folder=$4 zip=$5
rm -rf "${dist:?}/$folder" "$dist/$zip"
mkdir -p "$dist/$folder/graphics"
"$strip" -o "$dist/$folder/Brawlwise.exe" "$program"
cp "$here"/graphics/res1.ico "$here"/graphics/tick.bmp "$here"/graphics/cross.bmp "$dist/$folder/graphics/"
sed 's/$/\r/' "$here/docs/Brawlwise-Help.txt" >"$dist/$folder/Brawlwise Help.txt"
(cd "$dist" && python3 -m zipfile -c "$zip" "$folder")
echo "$dist/$folder and $dist/$zip are ready."
