#!/bin/sh
# Runs a Windows program under Wine with a virtual X server of its own, then stops both.
# Usage: run_under_wine.sh WINE_LOADER WINEPREFIX PROGRAM [ARGUMENTS...]
set -u
loader=$1
export WINEPREFIX=$2
shift 2
mkdir -p "$WINEPREFIX"

display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb=$!
tries=0
until [ -s "$display_file" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$xvfb" 2>/dev/null; then
        echo "Xvfb did not start" >&2
        exit 1
    fi
    sleep 0.1
done
export DISPLAY=":$(cat "$display_file")"
rm -f "$display_file"

# No Mono or Gecko prompts; no debug chatter.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$loader" "$@"
status=$?
wineserver -k 2>/dev/null
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
exit $status
