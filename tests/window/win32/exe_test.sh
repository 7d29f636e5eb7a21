#!/bin/sh
# Kestrova.exe is one small GUI file of its width that needs nothing but Windows' own DLLs,
# says which version it is, declares how it scales, and carries its picture at every size
# Windows picks up to 200 % scale.
# Usage: exe_test.sh KESTROVA_EXE i686|x86_64 [PLAIN_BUILD_EXE]: the last, where given, is what
# a cross-build configured with the toolchain file alone made, which must be there.
set -u
exe=$1
arch=$2
status=0
fail() { echo "FAIL: $*"; status=1; }
format=pei-i386
[ "$arch" = x86_64 ] && format=pei-x86-64
headers=$(TZ=UTC "$arch-w64-mingw32-objdump" -p "$exe") || exit 1
printf '%s\n' "$headers" | grep -q "file format $format\$" || fail "not a $format file"
printf '%s\n' "$headers" | grep -q 'Subsystem.*(Windows GUI)' || fail "not a GUI program"
size=$(stat -c %s "$exe")
[ "$size" -le 262144 ] || fail "$size bytes, more than 256 KiB"
[ -z "${3:-}" ] || [ -f "$3" ] || fail "a plain cross-build made no $3"
allowed="kernel32.dll user32.dll gdi32.dll comctl32.dll msvcrt.dll oleacc.dll oleaut32.dll"
for dll in $(printf '%s\n' "$headers" | sed -n 's/.*DLL Name: //p' | tr 'A-Z' 'a-z'); do
    case " $allowed " in *" $dll "*) ;; *) fail "imports $dll, which Windows does not ship" ;; esac
done

# Version 1.00 (numeric 1.0.0.0), product and file names, U.S. English.
version=$(wrestool -x --raw -t16 "$exe" | od -An -tx1 -v | tr -d ' \n')
echo "$version" | grep -q 'bd04effe0000010000000100000000000000010000000000' || fail "numeric version"
strings=$(wrestool -x --raw -t16 "$exe" | strings -el | tr '\n' '|')
for pair in "FileVersion|1.00" "ProductVersion|1.00" "ProductName|Kestrova" "InternalName|Kestrova" \
    "OriginalFilename|Kestrova.exe" "040904B0"; do
    case "|$strings" in *"|$pair|"*) ;; *) fail "no $pair in the version information" ;; esac
done

# Sharp on every screen, per monitor where Windows can, and run as the user who starts it.
manifest=$(wrestool -x --raw -t24 "$exe")
for wanted in '>PerMonitorV2, PerMonitor<' '>true/pm<' 'level="asInvoker"'; do
    case "$manifest" in *"$wanted"*) ;; *) fail "no $wanted in the manifest" ;; esac
done

# The picture: bitmaps with masks up to 64 pixels, PNG above.
ico=$(mktemp)
wrestool -x -t14 "$exe" >"$ico"
sizes=$(icotool -l "$ico" | sed -n 's/.*--width=\([0-9]*\).*--bit-depth=\([0-9]*\).*/\1:\2/p' | tr '\n' ' ')
rm -f "$ico"
[ "$sizes" = "16:24 24:24 32:24 48:24 64:24 96:32 128:32 256:32 " ] || fail "icon sizes $sizes"
wrestool -x --raw -t3 -n8 "$exe" | head -c 4 | od -An -c | grep -q 'P   N   G' || fail "the 256 pixel icon is not PNG"
[ $status -eq 0 ] && echo "ok: $size bytes, imports $(printf '%s\n' "$headers" | sed -n 's/.*DLL Name: //p' | tr '\n' ' ')"
exit $status
