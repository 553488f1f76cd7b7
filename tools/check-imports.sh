#!/usr/bin/env bash
# Fails unless PROGRAM is a Windows GUI program of the given architecture
# (win32: PE32, win64: PE32+) whose import table names only DLLs that come
# with Windows itself. OBJDUMP is a MinGW-w64 objdump.
# Usage: check-imports.sh OBJDUMP PROGRAM ARCH
set -euo pipefail
objdump=$1 program=$2 arch=$3
case $arch in
  win32) magic=010b format="PE32 (32-bit)" ;;
  win64) magic=020b format="PE32+ (64-bit)" ;;
  *) echo "unknown architecture '$arch'"; exit 2 ;;
esac
allowed='^(kernel32|user32|gdi32|comctl32|msvcrt|advapi32|shell32|ole32)\.dll$'
headers=$("$objdump" -p "$program")
status=0
grep -q "Magic[[:space:]]*$magic" <<<"$headers" || { echo "not a $format program"; status=1; }
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
[ $status -eq 0 ] && echo "a $format Windows GUI program"
exit $status
