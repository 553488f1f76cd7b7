#!/usr/bin/env bash
# Runs a Windows program under Wine with the loader of its architecture, in
# a private prefix (made on first use). Usage: wine-run.sh ARCH PREFIX PROGRAM [ARGUMENTS]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$here/tools/wine-env.sh"
wine_setup "$1" "$2"
wine_prepare_prefix
shift 2
exec "$WINELOADER" "$@"
