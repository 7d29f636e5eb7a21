#!/bin/sh
# Runs the Qt window test in a Wayland session of a headless compositor of its own: natively
# through Qt's Wayland platform, and through XWayland, as where that platform is not installed.
# Usage: wayland_test.sh QT_WINDOW_TESTS
set -u
for tool in weston Xwayland; do
    command -v $tool >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR LC_ALL=en_US.UTF-8
unset DBUS_SESSION_BUS_ADDRESS # the test's windows stay off a desktop's accessibility bus
weston --backend=headless-backend.so --socket=kestrova --xwayland --idle-time=0 \
    >"$XDG_RUNTIME_DIR/weston.log" 2>&1 &
weston=$!
. "$(dirname "$0")/../../wait.sh"
listening() { grep -q 'xserver listening on display' "$XDG_RUNTIME_DIR/weston.log"; }
if ! wait_for listening; then
    echo "FAIL: the compositor did not start"; cat "$XDG_RUNTIME_DIR/weston.log"; exit 1
fi
display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$XDG_RUNTIME_DIR/weston.log")
status=0
env -u DISPLAY WAYLAND_DISPLAY=kestrova QT_QPA_PLATFORM=wayland timeout 60 "$1" || status=1
env -u WAYLAND_DISPLAY DISPLAY="$display" QT_QPA_PLATFORM=xcb timeout 60 "$1" || status=1
kill $weston
rm -rf "$XDG_RUNTIME_DIR"
exit $status
