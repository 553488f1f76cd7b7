#!/usr/bin/env bash
# Runs the end-to-end driver against the real Brawlwise.exe under Wine, in a
# virtual X display and a private Wine prefix whose windows live in one Wine
# desktop (so that they have Wine's own title bars and close boxes).
# Usage: run-e2e.sh PROGRAM.exe DRIVER.exe [driver arguments]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

if [ "${1:-}" = "--inside-display" ]; then
  shift
  program=$1 driver=$2 shots=$3 linked=$4
  shift 4
  if [ ! -f "$WINEPREFIX/.brawlwise-desktop" ]; then
    wineboot -i >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.brawlwise-desktop"
  fi
  BRAWLWISE_EXE=$(winepath -w "$program") \
  BRAWLWISE_WORKDIR=$(winepath -w "$here") \
  BRAWLWISE_SHOTS=$(winepath -w "$shots") \
  BRAWLWISE_LINKED_WORKDIR=$(winepath -w "$linked") \
    exec wine "$driver" "$@"
fi

program=$(realpath "$1")
driver=$(realpath "$2")
shift 2
export WINEPREFIX=${BRAWLWISE_E2E_PREFIX:-$(dirname "$program")/wineprefix-e2e}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win32
shots=${BRAWLWISE_SHOTS_DIR:-$(dirname "$program")/screenshots}
mkdir -p "$shots"
rm -f "$shots"/*.bmp "$shots"/*.png
# A working directory whose graphics folder is a link to the real one.
linked=$(dirname "$program")/e2e-linked
mkdir -p "$linked"
ln -sfn "$here/graphics" "$linked/graphics"

status=0
xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside-display "$program" "$driver" "$shots" "$linked" "$@" || status=$?
wineserver -k >/dev/null 2>&1 || true
for shot in "$shots"/*.bmp; do
  [ -e "$shot" ] && python3 "$here/tools/bmp2png.py" "$shot"
done
exit $status
