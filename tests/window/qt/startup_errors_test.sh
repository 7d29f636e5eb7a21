#!/bin/sh
# Where the window cannot be opened, the program says in one line what failed, with the
# platform's own reason, and ends with status 1, never an abort. Other warnings at start are
# written as they come.
program=$1
status=0
XDG_RUNTIME_DIR=$(mktemp -d) # Qt warns of one that is missing
export XDG_RUNTIME_DIR
check() { # DESCRIPTION EXPECTED [VARIABLE=VALUE...]
    description=$1 expected=$2
    shift 2
    output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" timeout 20 "$program" 2>&1)
    code=$?
    if [ "$code" -ne 1 ] || [ "$(printf '%s\n' "$output" | wc -l)" -ne 1 ] ||
        ! printf '%s' "$output" | grep -q "^kestrova: cannot open the window: .*$expected"; then
        echo "FAIL ($description): status $code, said: $output"
        status=1
    else
        echo "ok ($description): $output"
    fi
}
check "no display at all" "no display is available"
check "a display that is not there" "could not connect to display :4711" DISPLAY=:4711
check "a platform that is not installed" '"nowhere"' QT_QPA_PLATFORM=nowhere

# A warning that is not the platform's, while the window opens, is written as Qt writes it.
said=$(QT_QPA_PLATFORM=offscreen QT_STYLE_OVERRIDE=nowhere timeout 5 "$program" 2>&1)
case "$said" in
*"invalid style override 'nowhere'"*) echo "ok (another warning at start): $said" ;;
*) echo "FAIL (another warning at start): said: $said"; status=1 ;;
esac
rm -rf "$XDG_RUNTIME_DIR"
exit $status
