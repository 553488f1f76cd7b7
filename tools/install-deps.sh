#!/usr/bin/env bash
# Installs what building and testing Brawlwise needs on Debian 12, and only
# what is missing: CMake and g++, GoogleTest and Google Benchmark, the
# MinGW-w64 cross-compilers for 32-bit and 64-bit Windows, 64-bit Wine with
# its fonts, Xvfb, clang with libFuzzer and the sanitizer runtimes,
# clang-tidy, cppcheck and Python; clang 19 with lld and the WebAssembly
# (wasm32-wasi) C and C++ libraries, and Node where no `node` is present, for
# the core as WebAssembly (and npm where none is, for the page's benchmark); for the page's tests in three engines, Chromium
# and its driver, WebKitGTK's WebDriver (with its MiniBrowser) and Firefox
# ESR, with Selenium and Python's websockets, and AT-SPI's bus, registry and
# Python binding with D-Bus's private session, to read WebKit's and Firefox's
# accessibility trees. Wine's 32-bit part only where the host
# executes 32-bit programs: elsewhere it could not run, and Debian's `wine`
# command would still reach for it.
#
# Without recommended packages (on a fresh machine 140 packages instead of
# 412, and no desktop services, printers, codecs or emulators registered with
# the kernel); what the suites need of them is named here: xauth for
# xvfb-run, X's base fonts for Xvfb, Liberation fonts for the pages.
#
# For the core as a 32-bit x86 Linux program: the i686 cross-compiler and
# qemu-user, whose qemu-i386 runs it. qemu-user recommends qemu-user-binfmt,
# which would register the emulators with the kernel and so change how this
# host runs every foreign program: without recommended packages nothing here
# does that, and the probe is asked again afterwards to make sure.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

have_package() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

wanted=(cmake g++ make googletest libbenchmark-dev g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
        wine wine64 fonts-wine xvfb xauth xfonts-base fonts-liberation clang libclang-rt-dev clang-tidy cppcheck python3
        clang-19 lld-19 llvm-19 libc++-19-dev-wasm32 libc++abi-19-dev-wasm32 libclang-rt-19-dev-wasm32 wasi-libc
        chromium chromium-driver python3-selenium webkit2gtk-driver firefox-esr python3-websockets
        at-spi2-core gir1.2-atspi-2.0 python3-gi dbus-daemon g++-i686-linux-gnu qemu-user gcovr)
command -v node >/dev/null || wanted+=(nodejs)
command -v npm >/dev/null || wanted+=(npm)  # make bench-web's Lighthouse
host_32bit=no
if bash "$here/tools/host-runs-32bit.sh" >/dev/null; then
  host_32bit=yes
  wanted+=(wine32:i386)
fi
missing=()
for package in "${wanted[@]}"; do
  have_package "$package" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ $host_32bit = yes ]; then
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
elif dpkg --print-foreign-architectures | grep -qx i386 && ! have_package wine32:i386; then
  missing+=("wine32:i386-")  # Wine recommends it; here it could not run
fi
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
# Asked afresh, not from an answer that make handed down.
if [ $host_32bit = no ] && env -u BRAWLWISE_HOST_32BIT bash "$here/tools/host-runs-32bit.sh" >/dev/null; then
  echo "The host executes 32-bit programs since this installation, and did not before: something changed how it runs them."
  exit 1
fi
