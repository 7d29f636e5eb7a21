#!/bin/sh
# The Debian 12 package on a fresh Debian 13 (trixie) root, as its users have it: it installs,
# the window test passes there against Debian 13's Qt with and without the Liberation fonts,
# and the Orca test passes against Debian 13's Orca, all the very files of this build.
# Usage: debian13_test.sh DIST_DIR WINDOW_TESTS SOURCE_DIR WORK_DIR
set -u
deb=$(ls "$1"/kestrova_*_amd64.deb 2>/dev/null) window_tests=$2 source=$3 root=$4/trixie
mkdir -p "$4"
skip() { echo "skipped: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "building a Debian 13 root needs root"
command -v debootstrap >/dev/null || skip "debootstrap is not installed"
# The machine's own Debian mirror, as apt knows it.
mirror=$(apt-get indextargets --format '$(REPO_URI)' | grep -m 1 '/debian/$')
[ -n "$mirror" ] || skip "this machine's apt sources name no Debian mirror"
unshare --mount true 2>/dev/null ||
    skip "this root's mounts cannot be made private (unshare --mount; is / a mount point?)"

[ -f "$deb" ] || { echo "FAIL: no package in $1"; exit 1; }

# Each command runs in the root in namespaces of its own, with its own /proc and /dev: nothing it
# starts or mounts outlives it, and nothing outside the root is ever removed. (The shell stays
# the namespace's first process: signals reach that one only where it asks for them.)
rm -rf --one-file-system "$root"
trap 'rm -rf --one-file-system "$root"' EXIT
in_root() {
    unshare --mount --pid --fork --kill-child --mount-proc="$root/proc" sh -c 'mount --bind /dev "$0/dev" &&
        chroot "$0" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; exit $?' "$root" "$@"
}
fail() { echo "FAIL: $1"; tail -n 20 "$2"; exit 1; }
debootstrap --variant=minbase trixie "$root" "$mirror" >"$4/debootstrap.log" 2>&1 ||
    fail "debootstrap trixie from $mirror" "$4/debootstrap.log"
mkdir -p "$root/opt/tests"
cp -r "$deb" "$window_tests" "$source/tests/window/qt/dejavu-only-fonts.conf" \
    "$source/tests/window/qt/orca_test.py" "$source/tests/window/qt/orca-preferences" "$root/opt/tests/"
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "/opt/tests/$(basename "$deb")" orca xvfb xauth xdotool dbus-daemon libqt6test6 >"$4/apt.log" 2>&1 ||
    fail "installing the package and the tests' tools" "$4/apt.log"
echo "ok: installed on Debian $(cat "$root/etc/debian_version"), Qt $(in_root dpkg-query -W -f '${Version}' libqt6core6t64), Orca $(in_root dpkg-query -W -f '${Version}' orca)"

status=0
tests=/opt/tests/$(basename "$window_tests")
in_root env QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=/tmp "$tests" -silent || status=1
in_root env QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=/tmp "KESTROVA_EXPECT_FACE=DejaVu Sans" \
    FONTCONFIG_FILE=/opt/tests/dejavu-only-fonts.conf "$tests" -silent || status=1
# Orca's lines, and on failure everything else it and the program wrote.
in_root xvfb-run -a env GSETTINGS_BACKEND=memory dbus-run-session -- python3 -u /opt/tests/orca_test.py \
    /usr/bin/kestrova >"$4/orca.log" 2>&1 || { grep -v dbus-daemon "$4/orca.log"; status=1; }
[ $status -eq 0 ] && grep -E '^(ok|FAIL)' "$4/orca.log"
exit $status
