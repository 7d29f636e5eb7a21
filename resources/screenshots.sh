#!/bin/sh
# Takes the README's pictures from the programs themselves, as the tests start them: the Linux
# window under Xvfb, the 64-bit Kestrova.exe under Wine with Windows' own fonts (in Wine's
# virtual desktop, which draws a Windows frame), and the page in Chromium on a desktop and a
# phone, light and dark. Each picture is written without time stamps, so the same commit gives
# the same files. Usage: screenshots.sh KESTROVA KESTROVA_EXE SITE FOLDER
set -eu
kestrova=$1 exe=$2 site=$3 out=$(realpath "$4")
mkdir -p "$out"
here=$(dirname "$0")
# A window's picture; the Wine desktop's cut to the window that stands on it.
export shot='import -window "$1" png:- | /usr/bin/convert - $3 -strip "$2"'

xvfb-run -a -s '-screen 0 800x600x24' sh -c '
    "$1" & sleep 0.5
    id=$(timeout 30 xdotool search --sync --name "^Kestrova V" | head -n 1)
    sleep 1
    sh -c "$shot" - "$id" "$2"
    kill $!' - "$kestrova" "$out/linux.png"

prefix=$(mktemp -d)
mkdir -p "$prefix/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/*.fon /usr/share/wine/fonts/tahoma*.ttf "$prefix/drive_c/windows/Fonts"
WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    xvfb-run -a -s '-screen 0 800x600x24' sh -c '
    # The focused scroll bar flashes its thumb at the caret'"'"'s rate: here it does not.
    /usr/lib/wine/wine64 reg add "HKCU\\Control Panel\\Desktop" /v CursorBlinkRate /d -1 /f >/dev/null 2>&1
    /usr/lib/wine/wine64 explorer /desktop=Kestrova,480x300 "$1" &
    id=$(timeout 60 xdotool search --sync --name "^Kestrova - Wine desktop" | head -n 1)
    sleep 3
    sh -c "$shot" - "$id" "$2" "-fuzz 5% -trim +repage"
    wineserver -k' - "$exe" "$out/windows.png"
rm -rf "$prefix"

node "$here/screenshots.mjs" "$site" "$out"
ls -l "$out"
