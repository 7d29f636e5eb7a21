#!/bin/sh
# Runs a Windows program under Wine with a virtual X server of its own, then stops both.
# Usage: run_under_wine.sh WINE_LOADER WINEPREFIX PROGRAM [ARGUMENTS...]
# KESTROVA_DPI: the screen's dots per inch (Wine's LogPixels), 96 unless set.
set -u
loader=$1
export WINEPREFIX=$2
shift 2
. "$(dirname "$0")/wine_environment.sh"
export dpi=${KESTROVA_DPI:-96}
run() {
    xvfb-run -a sh -c \
        '"$1" reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f \
            >/dev/null 2>&1; "$@"; status=$?; wineserver -k 2>/dev/null; exit $status' \
        wine "$loader" "$@"
}
run "$@"
status=$?
# Rarely, under load, Wine's own process dies of a segmentation fault as a program ends; the
# tests are deterministic, so a fault of theirs faults again.
if [ $status -eq 139 ]; then
    echo "Wine died of a segmentation fault; running the program once more"
    run "$@"
    status=$?
fi
exit $status
