#!/usr/bin/env bash
# Installs what building and testing Brawlwise needs on Debian 12, and only
# what is missing: CMake and g++, GoogleTest and Google Benchmark, the
# MinGW-w64 i686 cross-compiler, Wine with its 32-bit part, Xvfb, clang with
# libFuzzer and the sanitizer runtimes, clang-tidy, cppcheck and Python.
set -euo pipefail

have_package() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

wanted=(cmake g++ make googletest libbenchmark-dev g++-mingw-w64-i686 wine wine32:i386 xvfb
        clang libclang-rt-dev clang-tidy cppcheck python3)
missing=()
for package in "${wanted[@]}"; do
  have_package "$package" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
