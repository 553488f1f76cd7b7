#!/usr/bin/env bash
# Tells whether two compilers are the same GCC: the same release and Debian
# revision of the GCC sources that Debian built them from (MinGW-w64's
# compiler names itself only "12-posix", so the packages tell). A Debian
# stable update on top of the revision is shown, not compared.
# Usage: same-gcc.sh COMPILER COMPILER
set -euo pipefail

gcc_of() {  # COMPILER: "12.2.0-14 (package version)"
  local path package version
  path=$(readlink -f "$(command -v "$1")")
  package=$(dpkg-query -S "$path" | head -1 | cut -d: -f1)
  version=$(dpkg-query -W -f='${Version}' "$package")
  echo "$(sed -E 's/^([0-9]+\.[0-9]+\.[0-9]+-[0-9]+).*/\1/' <<<"$version") ($package $version)"
}

first=$(gcc_of "$1")
second=$(gcc_of "$2")
echo "$1: GCC $first"
echo "$2: GCC $second"
if [ "${first%% *}" != "${second%% *}" ]; then
  echo "not the same GCC"
  exit 1
fi
