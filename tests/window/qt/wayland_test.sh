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
. "$(dirname "$0")/../../wait.sh"
listening() { grep -q 'xserver listening on display' "$XDG_RUNTIME_DIR/weston.log"; }
if ! wait_for listening; then
    echo "FAIL: the compositor did not start"; cat "$XDG_RUNTIME_DIR/weston.log"; exit 1
fi
display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$XDG_RUNTIME_DIR/weston.log")
status=0
env -u DISPLAY WAYLAND_DISPLAY=kestrova QT_QPA_PLATFORM=wayland timeout 60 "$1" || status=1
env -u WAYLAND_DISPLAY DISPLAY="$display" QT_QPA_PLATFORM=xcb timeout 60 "$1" || status=1
# Its requests to the compositor are logged ("[time] request") until its window is drawn.
log=$XDG_RUNTIME_DIR/kestrova.log
env -u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DISPLAY=kestrova WAYLAND_DEBUG=client timeout 60 "$2" \
    2>"$log" &
program=$!
wait_for grep -q 'wl_surface@[0-9]*\.commit' "$log"
kill $weston
wait $weston 2>/dev/null
wait $program
code=$?
said=$(grep -v '^\[' "$log")
if [ $code -ne 1 ] || ! printf '%s' "$said" | grep -q 'Wayland connection broke'; then
    echo "FAIL (the compositor went away): status $code, said: $said"
    status=1
else
    echo "ok (the compositor went away): $said"
fi
rm -rf "$XDG_RUNTIME_DIR"
exit $status
