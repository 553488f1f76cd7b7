#!/usr/bin/env bash
# Lays out the page as it is handed out: DIST/Brawlwise-web/ with the page,
# its scripts and module, the pictures and the help file, and
# DIST/Brawlwise-0.1-web.zip holding that folder.
# Usage: package-web.sh MODULE.wasm DIST
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
module=$1 dist=$2
rm -rf "${dist:?}/Brawlwise-web" "$dist/Brawlwise-0.1-web.zip"
python3 "$here/web/build_page.py" "$module" "$dist/Brawlwise-web"
(cd "$dist" && python3 -m zipfile -c Brawlwise-0.1-web.zip Brawlwise-web)
echo "$dist/Brawlwise-web and $dist/Brawlwise-0.1-web.zip are ready."
