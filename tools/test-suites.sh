#!/usr/bin/env bash
# Runs every suite of `make test`, each to its end, then sums up which ran
# and passed, which failed, and which were skipped and why. Fails when any
# suite failed. MAKE is the make that called it.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$here"
make=${MAKE:-make}

# Whether the host executes 32-bit programs ("yes", or why not), found out
# once for every suite.
export BRAWLWISE_HOST_32BIT
BRAWLWISE_HOST_32BIT=$(bash tools/host-runs-32bit.sh) && BRAWLWISE_HOST_32BIT=yes

summary=()
passed=0 failed=0 skipped=0

suite() {  # NAME TARGET [MAKE ARGUMENTS]
  local name=$1
  shift
  echo
  echo "==== $name ($make $*)"
  local start=$SECONDS
  local checks=build/${1#test-}/skipped-checks.txt engine=build/${1#test-}/engine.txt
  rm -f "$checks" "$engine"
  if "$make" --no-print-directory "$@"; then
    summary+=("passed   $name ($((SECONDS - start)) s)")
    passed=$((passed + 1))
  else
    summary+=("FAILED   $name ($((SECONDS - start)) s)")
    failed=$((failed + 1))
  fi
  # The browser engine that the suite drove, and its version.
  if [ -s "$engine" ]; then summary+=("         engine: $(cat "$engine")"); fi
  # Checks inside the suite that this platform cannot make, and why.
  if [ -s "$checks" ]; then
    while IFS= read -r check; do summary+=("         skipped check: $check"); done <"$checks"
  fi
}

skip() {  # NAME REASON
  echo
  echo "==== $1: skipped: $2"
  summary+=("skipped  $1: $2")
  skipped=$((skipped + 1))
}

suite "unit tests, native" test-native
suite "unit tests, AddressSanitizer and UndefinedBehaviorSanitizer" test-sanitize
suite "WebAssembly module and unit tests under Node's WASI" test-wasm
suite "the page in Chromium (headless), from disk and from 127.0.0.1" test-web-chromium
suite "the page in WebKit (WebKitGTK's MiniBrowser in Xvfb), from disk and from 127.0.0.1" test-web-webkit
suite "the page in Firefox ESR (headless, over WebDriver BiDi), from disk and from 127.0.0.1" test-web-firefox
suite "64-bit Windows program: unit and end-to-end tests under 64-bit Wine" test-win64
name="32-bit Windows program: unit and end-to-end tests under 32-bit Wine"
if [ "$BRAWLWISE_HOST_32BIT" = yes ]; then
  suite "$name" test-win32
else
  skip "$name" "$BRAWLWISE_HOST_32BIT"
fi
# Where the 32-bit program cannot run, its core runs emulated instead.
name="32-bit x86 core under qemu-i386, built for i686 Linux with the 32-bit program's GCC and flags: unit tests"
name+=" (number texts against i686 glibc) and encounter texts; shows the 32-bit program's arithmetic and texts,"
name+=" not the Windows program, its resources or Wine"
if [ "$BRAWLWISE_HOST_32BIT" = yes ]; then
  skip "$name" "the host executes 32-bit programs, so the 32-bit Windows suite runs these tests in the program itself"
else
  suite "$name" test-i686
fi
suite "fuzz targets, 60 s each" fuzz FUZZ_SECONDS=60
suite "clang-tidy and cppcheck" lint

echo
echo "==== Summary of make test"
printf '  %s\n' "${summary[@]}"
echo "suites: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
