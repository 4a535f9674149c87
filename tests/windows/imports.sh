#!/usr/bin/env bash
# The executable imports system DLLs only: linked statically, it runs on a
# stock Windows 10 or 11 with nothing else installed.
# Usage: imports.sh OBJDUMP PROGRAM
set -euo pipefail
objdump=$1 program=$2
dlls=$("$objdump" -p "$program" | sed -n 's/^\s*DLL Name: //p' | tr -d '\r')
echo "imports: $(echo "$dlls" | tr '\n' ' ')"
status=0
while read -r dll; do
    case ${dll,,} in
        kernel32.dll | user32.dll | gdi32.dll | gdiplus.dll | winmm.dll | msvcrt.dll) ;;
        *) echo "FAIL: $dll is not a system DLL of every Windows"; status=1 ;;
    esac
done <<<"$dlls"
exit $status
