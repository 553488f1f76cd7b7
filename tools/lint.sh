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

# The layers by folder: core/ is read with the native build's compile
# commands, the window code with the 32-bit Windows build's, and the page's
# interface (which the native build also compiles) as the core is.
mapfile -t core < <(git ls-files 'core/*.cpp' 'web/*.cpp')
mapfile -t windows < <(git ls-files 'windows/*.cpp')

status=0
# The layers include inwards only: core/ includes only core/, and each front
# end only core/ and itself (system headers in <> are not the project's).
guard() {  # FOLDER ALLOWED-FOLDERS
  local found
  found=$(git grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' -- "$1/" |
          grep -v -E "#[[:space:]]*include[[:space:]]*\"($2)/" || true)
  if [ -n "$found" ]; then
    echo "include guard: $1/ may include only $2:" >&2
    echo "$found" >&2
    status=1
  fi
}
guard core 'core'
guard windows 'core|windows'
guard web 'core|web'

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
  --inline-suppr -I . -D_WIN32 \
  core windows web || status=1

[ $status -eq 0 ] && echo "lint: clean"
exit $status
