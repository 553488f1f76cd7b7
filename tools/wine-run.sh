#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private prefix, quietly
# and without the installers that a new prefix would otherwise offer.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=${WINEARCH:-win32}
mkdir -p "$(dirname "$WINEPREFIX")"
exec wine "$@"
