#!/usr/bin/env bash
# Lays out the page as it is handed out: DIST/Brawlwise-web/ with the page,
# its scripts and module, the pictures and the help file, and
# DIST/Brawlwise-VERSION-web.zip holding that folder, dated SOURCE_DATE_EPOCH.
# Usage: package-web.sh MODULE.wasm DIST VERSION
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
module=$1 dist=$2 version=$3
zip=Brawlwise-$version-web.zip
: "${SOURCE_DATE_EPOCH:?the time to date the zip with}"
rm -rf "${dist:?}/Brawlwise-web" "$dist/$zip"
python3 "$here/web/build_page.py" "$module" "$dist/Brawlwise-web" "$version"
/usr/bin/python3 "$here/tools/make-zip.py" "$dist/$zip" "$dist/Brawlwise-web"
echo "$dist/Brawlwise-web and $dist/$zip are ready."
