#!/bin/sh
# Where Windows cannot create the window (Wine with no display), Kestrova.exe ends with
# status 1 after trying to say so in a message box: no crash and no silent success.
# Usage: without_display_test.sh WINE_LOADER WINEPREFIX KESTROVA_EXE
set -u
export WINEPREFIX=$2 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
env -u DISPLAY -u WAYLAND_DISPLAY "$1" "$3"
status=$?
wineserver -k 2>/dev/null
if [ "$status" -ne 1 ]; then
    echo "FAIL: exit status $status, expected 1"
    exit 1
fi
echo "ok: exit status 1"
