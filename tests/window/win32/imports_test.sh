#!/bin/sh
# Kestrova.exe is one 32-bit GUI file that needs nothing but Windows' own system DLLs.
set -u
exe=$1
headers=$(i686-w64-mingw32-objdump -p "$exe") || exit 1
printf '%s\n' "$headers" | grep -q 'file format pei-i386' || { echo "FAIL: not a 32-bit PE file"; exit 1; }
printf '%s\n' "$headers" | grep -q 'Subsystem.*(Windows GUI)' || { echo "FAIL: not a GUI program"; exit 1; }
allowed="kernel32.dll user32.dll gdi32.dll comctl32.dll msvcrt.dll advapi32.dll"
status=0
for dll in $(printf '%s\n' "$headers" | sed -n 's/.*DLL Name: //p' | tr 'A-Z' 'a-z'); do
    case " $allowed " in
    *" $dll "*) echo "imports $dll" ;;
    *) echo "FAIL: imports $dll, which Windows does not ship"; status=1 ;;
    esac
done
exit $status
