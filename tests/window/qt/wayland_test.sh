#!/bin/sh
# Runs the Qt window test in a Wayland session of a headless compositor of its own: natively
# through Qt's Wayland platform, and through XWayland, as where that platform is not installed;
# then starts the program and stops the compositor under it, which must end it with a message.
# Usage: wayland_test.sh QT_WINDOW_TESTS KESTROVA
set -u
for tool in weston Xwayland; do
    command -v $tool >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
done
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR LC_ALL=en_US.UTF-8
weston --backend=headless-backend.so --socket=kestrova --xwayland --idle-time=0 \
    >"$XDG_RUNTIME_DIR/weston.log" 2>&1 &
weston=$!
tries=0
until grep -q 'xserver listening on display' "$XDG_RUNTIME_DIR/weston.log"; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ] || ! kill -0 $weston 2>/dev/null; then
        echo "FAIL: the compositor did not start"; cat "$XDG_RUNTIME_DIR/weston.log"; exit 1
    fi
    sleep 0.1
done
display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$XDG_RUNTIME_DIR/weston.log")
status=0
env -u DISPLAY WAYLAND_DISPLAY=kestrova QT_QPA_PLATFORM=wayland timeout 60 "$1" || status=1
env -u WAYLAND_DISPLAY DISPLAY="$display" QT_QPA_PLATFORM=xcb timeout 60 "$1" || status=1
env -u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DISPLAY=kestrova timeout 20 "$2" 2>"$XDG_RUNTIME_DIR/kestrova.log" &
program=$!
sleep 2
kill $weston
wait $weston 2>/dev/null
wait $program
code=$?
if [ $code -ne 1 ] || ! grep -q 'Wayland connection broke' "$XDG_RUNTIME_DIR/kestrova.log"; then
    echo "FAIL (the compositor went away): status $code, said: $(cat "$XDG_RUNTIME_DIR/kestrova.log")"
    status=1
else
    echo "ok (the compositor went away): $(cat "$XDG_RUNTIME_DIR/kestrova.log")"
fi
rm -rf "$XDG_RUNTIME_DIR"
exit $status
