#!/bin/sh
# The releases: built from a clone, then from the source archive that build made, unpacked in
# another folder a second later with what a test run leaves there, they are the same bytes.
# With "install", that build's Debian package for an architecture is installed on this machine
# with apt (another architecture's beside this one's, run by qemu-user), started from
# /usr/bin/kestrova and from its desktop entry until its window shows, and purged without
# leaving a file behind.
# Usage: release_test.sh SOURCE_DIR WORK_DIR [install ARCH]
set -u
source=$(cd "$1" && pwd)
work=$2
status=0
fail() { echo "FAIL: $*"; status=1; }

if [ "${3:-}" != install ]; then
    rm -rf "$work"
    mkdir -p "$work"
    if git -C "$source" rev-parse --git-dir >/dev/null 2>&1; then
        git clone -q --no-hardlinks "$source" "$work/clone"
    else # a source archive's tree: copied as it is
        mkdir "$work/clone"
        tar -c -C "$source" --exclude=./build --exclude=./dist . | tar -x -C "$work/clone"
    fi
    sh "$work/clone/resources/package.sh" >"$work/clone.log" 2>&1 || { cat "$work/clone.log"; exit 1; }
    sleep 1
    mkdir "$work/unpacked"
    tar -x -z -C "$work/unpacked" -f "$work/clone/dist/"kestrova-*.tar.gz
    unpacked=$(echo "$work/unpacked/"kestrova-*)
    # What a test run leaves in a tree, which its source archive must not carry.
    mkdir -p "$unpacked/tests/window/web/node_modules/driver" "$unpacked/build-old" "$unpacked/.cache"
    touch "$unpacked/tests/window/web/node_modules/driver/index.js" "$unpacked/compile_commands.json"
    sh "$unpacked/resources/package.sh" >"$work/unpacked.log" 2>&1 ||
        { cat "$work/unpacked.log"; exit 1; }
    for file in "$work/clone/dist/"*; do
        name=$(basename "$file")
        if ! cmp -s "$file" "$unpacked/dist/$name"; then
            fail "$name differs between the clone's build and the source archive's:"
            cmp "$file" "$unpacked/dist/$name"
        fi
    done
    # Every architecture's package depends on the same packages, the faces among them.
    for deb in "$work/clone/dist/"*.deb; do
        depends=$(dpkg-deb -f "$deb" Depends)
        echo "$depends" | grep -q 'fonts-liberation2 | fonts-liberation' ||
            fail "$(basename "$deb") does not bring the faces the layout is drawn for"
        [ "$depends" = "${first:=$depends}" ] || fail "$(basename "$deb") depends on $depends, not $first"
    done
    # The Windows files the tests start are the ones in the zips, where the tree is committed.
    # KESTROVA_TESTED_EXES: "FILE:win64 FILE:win32".
    if [ -z "$(git -C "$source" status --porcelain --untracked-files=no 2>/dev/null)" ]; then
        for tested in ${KESTROVA_TESTED_EXES:-}; do
            unzip -p "$work/clone/dist/"Kestrova-*-"${tested##*:}.zip" Kestrova.exe |
                cmp -s - "${tested%:*}" ||
                fail "the ${tested##*:} zip's Kestrova.exe is not the file the tests start"
        done
    fi
    [ $status -eq 0 ] &&
        echo "ok: $(cd "$work/clone/dist" && ls | tr '\n' ' ')the same bytes from a clone and from its source archive"
    exit $status
fi

if [ "$(id -u)" -ne 0 ] || dpkg -s kestrova >/dev/null 2>&1; then
    echo "skipped: installing the package needs root and a machine without Kestrova installed"
    exit 77
fi
arch=$4
cpu=$(dpkg-architecture -a"$arch" -qDEB_HOST_GNU_CPU 2>/dev/null)
if [ "$arch" != "$(dpkg --print-architecture)" ]; then
    dpkg --print-foreign-architectures | grep -qx "$arch" ||
        { echo "skipped: dpkg does not take $arch packages here (dpkg --add-architecture $arch)"; exit 77; }
    [ -e "/proc/sys/fs/binfmt_misc/qemu-$cpu" ] ||
        { echo "skipped: binfmt_misc has no qemu-$cpu entry: this machine runs no $arch programs"; exit 77; }
fi
deb=$(ls "$work/clone/dist/"*_"$arch".deb) || { echo "FAIL: no $arch package was built"; exit 1; }
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; exit 1; }
files=$(dpkg -L kestrova | while read -r f; do [ -f "$f" ] && echo "$f"; done)
id=org.kestrova.kestrova
desktop-file-validate "/usr/share/applications/$id.desktop" || fail "desktop entry"
appstreamcli validate --no-net --pedantic "/usr/share/metainfo/$id.metainfo.xml" >/dev/null || fail "metainfo"
command=$(sed -n 's/^Exec=//p' "/usr/share/applications/$id.desktop")
for start in /usr/bin/kestrova "$command"; do # started once its window is shown
    XDG_RUNTIME_DIR=$work xvfb-run -a sh -c '"$@" & timeout 60 xdotool search --sync --onlyvisible \
        --name "^Kestrova V" >/dev/null; status=$?; kill $!; exit $status' - $start &&
        echo "ok: $start showed its window" || fail "$start showed no window within 60 s"
done
DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq kestrova >/dev/null 2>&1 || fail "purge"
for f in $files; do
    [ -e "$f" ] && fail "$f is left after the purge"
done
[ -e /usr/share/doc/kestrova ] && fail "/usr/share/doc/kestrova is left after the purge"
[ $status -eq 0 ] && echo "ok: installed, started, purged: $(echo "$files" | wc -l) files, none left"
exit $status
