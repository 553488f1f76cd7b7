#!/usr/bin/env bash
# Runs the end-to-end driver against the real Brawlwise.exe under Wine, in a
# virtual X display and a private Wine prefix of the program's architecture
# whose windows live in one Wine desktop (so that they have Wine's own title
# bars and close boxes).
# Usage: run-e2e.sh ARCH PROGRAM.exe DRIVER.exe [driver arguments]
#   ARCH is win32 or win64, the architecture of both programs.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$here/tools/wine-env.sh"

if [ "${1:-}" = "--inside-display" ]; then
  shift
  program=$1 driver=$2 shots=$3 linked=$4
  shift 4
  wine_prepare_prefix
  if [ ! -f "$WINEPREFIX/.brawlwise-desktop" ]; then
    "$WINELOADER" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    "$WINELOADER" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.brawlwise-desktop"
  fi
  BRAWLWISE_EXE=$("$WINELOADER" winepath -w "$program") \
  BRAWLWISE_WORKDIR=$("$WINELOADER" winepath -w "$here") \
  BRAWLWISE_SHOTS=$("$WINELOADER" winepath -w "$shots") \
  BRAWLWISE_LINKED_WORKDIR=$("$WINELOADER" winepath -w "$linked") \
    exec "$WINELOADER" "$driver" "$@"
fi

arch=$1
program=$(realpath "$2")
driver=$(realpath "$3")
shift 3
wine_setup "$arch" "${BRAWLWISE_E2E_PREFIX:-$(dirname "$program")/wineprefix-e2e}"
shots=${BRAWLWISE_SHOTS_DIR:-$(dirname "$program")/screenshots}
mkdir -p "$shots"
rm -f "$shots"/*.bmp "$shots"/*.png
# A working directory whose graphics folder is a link to the real one.
linked=$(dirname "$program")/e2e-linked
mkdir -p "$linked"
ln -sfn "$here/graphics" "$linked/graphics"

# The checks that skipped themselves (such as those that need counts this
# platform does not report), each with its reason, for the summary of make test.
log=$(dirname "$program")/e2e.log
skipped=$(dirname "$program")/skipped-checks.txt
set +e
xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside-display "$program" "$driver" "$shots" "$linked" "$@" 2>&1 |
  tr -d '\r' | tee "$log"
status=${PIPESTATUS[0]}
set -e
wineserver -k >/dev/null 2>&1 || true
awk '/: Skipped$/ { getline reason; next }
     /^\[  SKIPPED \] [^ ]+ \(/ { print $4 ": " reason; reason = "" }' "$log" >"$skipped"
for shot in "$shots"/*.bmp; do
  [ -e "$shot" ] && python3 "$here/tools/bmp2png.py" "$shot"
done
exit $status
