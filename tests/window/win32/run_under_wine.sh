#!/bin/sh
# Runs a Windows program under Wine with a virtual X server of its own, then stops both.
# Usage: run_under_wine.sh WINE_LOADER WINEPREFIX PROGRAM [ARGUMENTS...]
set -u
loader=$1
export WINEPREFIX=$2
shift 2
mkdir -p "$WINEPREFIX"
# No Mono or Gecko prompts; no debug chatter.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
sh "$(dirname "$0")/../../with_xvfb.sh" sh -c '"$@"; status=$?; wineserver -k 2>/dev/null; exit $status' \
    wine "$loader" "$@"
