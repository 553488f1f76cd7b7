#!/usr/bin/env bash
# Runs every suite of `make test`, each to its end, then sums up which ran
# and passed, which failed, and which were skipped and why, with each
# suite's time and its slowest tests. Fails when any suite failed. MAKE is
# the make that called it.
#
# The suites run in three lanes at once, of about the same length: one
# builds and computes (the unit tests natively, with the sanitizers and as an
# emulated 32-bit program, the release built twice more and compared); the
# other two drive real programs and browsers, which mostly wait on them, and
# then compute: the Windows programs under Wine, the page in Firefox and the
# linters; the page in Chromium and WebKit, and the fuzz targets. Every check
# of a driven suite waits for what it reads, so the other lanes' load does
# not disturb it; `--under-load` runs the driven suites alone, one after the
# other, beside two processes that keep both cores busy, to prove it.
# Each suite's whole output is in build/logs/SUITE.log.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$here"
make=${MAKE:-make}

# Whether the host executes 32-bit programs ("yes", or why not), found out
# once for every suite.
export BRAWLWISE_HOST_32BIT
BRAWLWISE_HOST_32BIT=$(bash tools/host-runs-32bit.sh) && BRAWLWISE_HOST_32BIT=yes

logs=build/logs
rm -rf "$logs"
mkdir -p "$logs"

suite() {  # LANE NAME TARGET [MAKE ARGUMENTS]
  local lane=$1 name=$2
  shift 2
  local folder=build/${1#test-}
  local checks=$folder/skipped-checks.txt engine=$folder/engine.txt e2e=$folder/e2e.log log=$logs/$1.log
  rm -f "$checks" "$engine" "$e2e"
  echo "==== started: $name ($make $*)"
  local start=$SECONDS verdict=passed
  "$make" --no-print-directory "$@" >"$log" 2>&1 || verdict=FAILED
  echo "==== $verdict: $name ($((SECONDS - start)) s)"
  {
    printf '%-8s %s (%d s)\n' "$verdict" "$name" $((SECONDS - start))
    # Its slowest tests, from its output and, for a Windows program, the end-to-end driver's log.
    local slowest
    slowest=$(python3 tools/slowest-tests.py 3 "$log" "$e2e")
    if [ -n "$slowest" ]; then echo "         slowest: $slowest"; fi
    # The browser engine that the suite drove, and its version.
    if [ -s "$engine" ]; then echo "         engine: $(cat "$engine")"; fi
    # Checks inside the suite that this platform cannot make, and why.
    if [ -s "$checks" ]; then
      while IFS= read -r check; do echo "         skipped check: $check"; done <"$checks"
    fi
    if [ $verdict = FAILED ]; then echo "         its output: $log"; fi
  } >>"$logs/summary-$lane.txt"
}

skip() {  # LANE NAME REASON
  echo "==== skipped: $2: $3"
  echo "skipped  $2: $3" >>"$logs/summary-$1.txt"
}

# The suites that build and compute. The WebAssembly build comes first: its
# module is the page's, built once here for the page suites' lane.
page_built=$logs/page-built
computing_lane() {
  suite computing "WebAssembly module and unit tests under Node's WASI" test-wasm
  suite computing "the page, built from the module" web-page
  touch "$page_built"
  suite computing "unit tests, native" test-native
  suite computing "unit tests, AddressSanitizer and UndefinedBehaviorSanitizer" test-sanitize
  # Where the 32-bit program cannot run, its core runs emulated instead.
  local name="32-bit x86 core under qemu-i386, built for i686 Linux with the 32-bit program's GCC and flags:"
  name+=" unit tests (number texts against i686 glibc) and encounter texts; shows the 32-bit program's"
  name+=" arithmetic and texts, not the Windows program, its resources or Wine"
  if [ "$BRAWLWISE_HOST_32BIT" = yes ]; then
    skip computing "$name" "the host executes 32-bit programs, so the 32-bit Windows suite runs these tests in the program itself"
  else
    suite computing "$name" test-i686
  fi
  suite computing "make dist twice, in two other folders: the same bytes" test-reproducible
}

# The suites that drive a real program or browser, and so wait on what they
# read: the Windows programs, and the page once the computing lane built it.
windows_lane() {
  suite windows "64-bit Windows program: unit and end-to-end tests under 64-bit Wine" test-win64
  local name="32-bit Windows program: unit and end-to-end tests under 32-bit Wine"
  if [ "$BRAWLWISE_HOST_32BIT" = yes ]; then
    suite windows "$name" test-win32
  else
    skip windows "$name" "$BRAWLWISE_HOST_32BIT"
  fi
}

page_built_wait() {
  local waited=0
  until [ -e "$page_built" ] || [ $waited -ge 1800 ]; do sleep 5; waited=$((waited + 5)); done
  [ -e "$page_built" ] || echo "==== the page was not built within 30 minutes: see $logs/web-page.log"
}

pages_lane() {  # the page in Chromium and WebKit
  page_built_wait
  suite pages "the page in Chromium (headless), from disk and from 127.0.0.1" test-web-chromium WEB_PAGE_BUILT=1
  suite pages "the page in WebKit (WebKitGTK's MiniBrowser in Xvfb), from disk and from 127.0.0.1" \
    test-web-webkit WEB_PAGE_BUILT=1
}

firefox_suite() {  # LANE
  page_built_wait
  suite "$1" "the page in Firefox ESR (with a window in Xvfb, over WebDriver BiDi), from disk and from 127.0.0.1" \
    test-web-firefox WEB_PAGE_BUILT=1
}

began=$SECONDS
if [ "${1:-}" = --under-load ]; then
  title="make test-under-load (two busy processes the whole time)"
  hogs=()
  for _ in 1 2; do
    bash -c 'while :; do :; done' &
    hogs+=($!)
  done
  trap 'kill "${hogs[@]}" 2>/dev/null' EXIT
  suite windows "the native encounter-texts program, which every build compares its own with" native-digests
  export DIGESTS_BUILT=1
  suite pages "the page, built from the module" web-page
  touch "$page_built"
  windows_lane
  pages_lane
  firefox_suite pages
else
  title="make test"
  suite computing "the native encounter-texts program, which every build compares its own with" native-digests
  export DIGESTS_BUILT=1
  computing_lane &
  computing=$!
  { windows_lane; firefox_suite windows; suite windows "clang-tidy and cppcheck" lint; } &
  windows=$!
  pages_lane
  suite pages "fuzz targets, 60 s each" fuzz FUZZ_SECONDS=60
  wait $computing $windows
fi

echo
echo "==== Summary of $title"
cat "$logs"/summary-*.txt | sed 's/^/  /'
passed=$(cat "$logs"/summary-*.txt | grep -c '^passed')
failed=$(cat "$logs"/summary-*.txt | grep -c '^FAILED')
skipped=$(cat "$logs"/summary-*.txt | grep -c '^skipped')
echo "suites: $passed passed, $failed failed, $skipped skipped, in $((SECONDS - began)) s"
for log in $(grep -h 'its output:' "$logs"/summary-*.txt | sed 's/.*its output: //'); do
  echo
  echo "==== the end of $log"
  tail -60 "$log"
done
[ "$failed" -eq 0 ]
