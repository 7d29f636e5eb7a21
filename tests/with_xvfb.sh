#!/bin/sh
# Runs a command with DISPLAY set to a virtual X server of its own, then stops the server.
# Usage: with_xvfb.sh COMMAND [ARGUMENTS...]; exits with the command's status. The command
# finds the server's process id in XVFB_PID.
set -u
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb=$!
tries=0
until [ -s "$display_file" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$xvfb" 2>/dev/null; then
        echo "Xvfb did not start" >&2
        rm -f "$display_file"
        exit 1
    fi
    sleep 0.1
done
DISPLAY=":$(cat "$display_file")"
XVFB_PID=$xvfb
export DISPLAY XVFB_PID
rm -f "$display_file"
"$@"
status=$?
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
exit $status
