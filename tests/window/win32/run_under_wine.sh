#!/bin/sh
# Runs a Windows program under Wine, in a prefix of the loader's width (no Mono or Gecko prompts,
# no debug chatter), with a virtual X server of its own, then stops both.
# KESTROVA_DPI: the screen's dots per inch (Wine's LogPixels), 96 unless set.
# With --without-display, Wine has no display, so Windows cannot create the program's window:
# Kestrova.exe must end with status 1 after trying to say so, never crash or succeed.
# Usage: run_under_wine.sh [--without-display] WINE_LOADER WINEPREFIX PROGRAM [ARGUMENTS...]
set -u
without=
[ "$1" = --without-display ] && without=yes && shift
loader=$1
export WINEPREFIX=$2 WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" dpi=${KESTROVA_DPI:-96}
case "$loader" in *64) WINEARCH=win64 ;; esac
# Windows' own bitmap faces ("MS Sans Serif" among them) and Tahoma, where Windows keeps them:
# without them a face name falls through to an outline face that Windows does not give.
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp -u /usr/share/wine/fonts/*.fon /usr/share/wine/fonts/tahoma*.ttf "$WINEPREFIX/drive_c/windows/Fonts" ||
    { echo "FAIL: no Windows fonts for Wine (Debian's fonts-wine)"; exit 1; }
shift 2
if [ -n "$without" ]; then
    env -u DISPLAY -u WAYLAND_DISPLAY "$loader" "$@"
    status=$?
    wineserver -k 2>/dev/null
    [ $status -eq 1 ] && echo "ok: exit status 1" || { echo "FAIL: exit status $status, expected 1"; exit 1; }
    exit 0
fi
run() {
    xvfb-run -a sh -c \
        '"$1" reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f \
            >/dev/null 2>&1; "$@"; status=$?; wineserver -k 2>/dev/null; exit $status' \
        wine "$loader" "$@"
}
run "$@"
status=$?
[ $status -ne 139 ] || echo "FAIL: a segmentation fault ended $*"
exit $status
