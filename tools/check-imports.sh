#!/usr/bin/env bash
# Fails unless PROGRAM is a 32-bit Windows GUI program whose import table
# names only DLLs that come with Windows itself.
set -euo pipefail
program=$1
allowed='^(kernel32|user32|gdi32|comctl32|msvcrt|advapi32|shell32|ole32)\.dll$'
headers=$(i686-w64-mingw32-objdump -p "$program")
status=0
grep -q 'Magic[[:space:]]*010b' <<<"$headers" || { echo "not a PE32 (32-bit) program"; status=1; }
grep -q 'Subsystem[[:space:]]*00000002' <<<"$headers" || { echo "not a Windows GUI program"; status=1; }
dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
[ -n "$dlls" ] || { echo "no import table found"; status=1; }
for dll in $dlls; do
  if grep -Eqi "$allowed" <<<"$dll"; then
    echo "imports $dll: part of Windows"
  else
    echo "imports $dll: NOT part of Windows"
    status=1
  fi
done
exit $status
