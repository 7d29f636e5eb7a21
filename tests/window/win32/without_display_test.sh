#!/bin/sh
# Where Windows cannot create the window (Wine with no display), Kestrova.exe ends with
# status 1 after trying to say so in a message box: no crash and no silent success.
# Usage: without_display_test.sh WINE_LOADER WINEPREFIX KESTROVA_EXE
set -u
loader=$1
export WINEPREFIX=$2
. "$(dirname "$0")/wine_environment.sh"
env -u DISPLAY -u WAYLAND_DISPLAY "$loader" "$3"
status=$?
wineserver -k 2>/dev/null
if [ "$status" -ne 1 ]; then
    echo "FAIL: exit status $status, expected 1"
    exit 1
fi
echo "ok: exit status 1"
