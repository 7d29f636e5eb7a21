#!/bin/sh
# Started where no display can be opened, the program says so in one line and fails cleanly.
program=$1
check() {
    description=$1
    shift
    output=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE "$@" "$program" 2>&1)
    status=$?
    lines=$(printf '%s\n' "$output" | wc -l)
    if [ "$status" -ne 1 ] || [ "$lines" -ne 1 ] || ! printf '%s' "$output" | grep -q '^kestrova: cannot open the window: '; then
        echo "FAIL ($description): status $status, output:"
        printf '%s\n' "$output"
        exit 1
    fi
    echo "ok ($description): $output"
}
check "DISPLAY unset" env -u DISPLAY
check "DISPLAY names no server" env DISPLAY=:4711
