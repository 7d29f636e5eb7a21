#!/bin/sh
# Runs the Qt window test natively through Qt's Wayland platform, in a session of a headless
# compositor of its own. (Qt's X platform is run with real keys by the Orca tests.)
# Usage: wayland_test.sh QT_WINDOW_TESTS
set -u
command -v weston >/dev/null || { echo "FAIL: weston is not installed"; exit 1; }
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR LC_ALL=en_US.UTF-8
unset DBUS_SESSION_BUS_ADDRESS # the test's windows stay off a desktop's accessibility bus
weston --backend=headless-backend.so --socket=kestrova --idle-time=0 >"$XDG_RUNTIME_DIR/weston.log" 2>&1 &
weston=$!
# Its socket, once it listens (as long as a loaded machine may need).
if ! timeout 30 sh -c 'until [ -S "$0" ]; do sleep 0.1; done' "$XDG_RUNTIME_DIR/kestrova"; then
    echo "FAIL: the compositor did not start"; cat "$XDG_RUNTIME_DIR/weston.log"; exit 1
fi
env -u DISPLAY WAYLAND_DISPLAY=kestrova QT_QPA_PLATFORM=wayland timeout 60 "$1"
status=$?
kill $weston
rm -rf "$XDG_RUNTIME_DIR"
exit $status
