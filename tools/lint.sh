#!/usr/bin/env bash
# clang-tidy and cppcheck over the program's own code: the core with the
# native build's compile commands, the window code with the 32-bit Windows
# build's, read through the MinGW-w64 headers.
# Usage: lint.sh NATIVE_BUILD_DIR WIN32_BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
native=$1
win32=$2
cd "$here"

# The native build compiles the core alone; every other source of the
# program is window code.
core=()
windows=()
while read -r file; do
  if grep -q "\"$here/$file\"" "$native/compile_commands.json"; then core+=("$file"); else windows+=("$file"); fi
done < <(git ls-files 'app/*.cpp' 'rules/*.cpp' 'security/*.cpp' 'results/*.cpp' 'statistics/*.cpp' 'web/*.cpp')

status=0
echo "clang-tidy: core"
clang-tidy -p "$native" --quiet "${core[@]}" 2> >(grep -v 'warnings generated' >&2) || status=1

echo "clang-tidy: window code"
extra=(--extra-arg=--target=i686-w64-mingw32 --extra-arg=-nostdinc++)
while read -r dir; do
  extra+=("--extra-arg=-isystem$dir")
done < <(echo | i686-w64-mingw32-g++-posix -E -x c++ - -v 2>&1 |
         sed -n '/#include <...> search starts here:/,/End of search list./p' | grep '^ ' | sed 's/^ //' |
         grep -v -E '/lib/gcc/[^ ]*/include(-fixed)?$')  # clang brings its own compiler headers
clang-tidy -p "$win32" --quiet "${extra[@]}" "${windows[@]}" 2> >(grep -v 'warnings generated' >&2) || status=1

echo "cppcheck"
cppcheck --quiet --error-exitcode=1 --std=c++17 --language=c++ --enable=warning,performance,portability \
  --inline-suppr -I . -I resources -D_WIN32 \
  app rules security results statistics web || status=1

[ $status -eq 0 ] && echo "lint: clean"
exit $status
