#!/bin/sh
# The releases: two builds of the same commit, in different folders and at different times,
# give the same bytes; and the Debian package installs with Debian's packages, starts from
# /usr/bin/kestrova and from its desktop entry, and purges without leaving a file behind.
# Usage: release_test.sh SOURCE_DIR
set -u
source=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }

for copy in first second; do # the committed sources, as a source archive unpacks them
    mkdir "$work/$copy"
    if git -C "$source" rev-parse --git-dir >/dev/null 2>&1; then
        git -C "$source" archive HEAD | tar -x -C "$work/$copy"
    else
        tar -c -C "$source" --exclude=./build --exclude=./dist . | tar -x -C "$work/$copy"
    fi
    sh "$work/$copy/resources/package.sh" >"$work/$copy.log" 2>&1 || { cat "$work/$copy.log"; exit 1; }
    sleep 1
done
for file in "$work/first/dist/"*; do
    name=$(basename "$file")
    if ! cmp -s "$file" "$work/second/dist/$name"; then
        fail "$name differs between two builds:"
        if command -v diffoscope >/dev/null; then
            diffoscope "$file" "$work/second/dist/$name" | head -n 40
        else
            cmp "$file" "$work/second/dist/$name"
        fi
    fi
done
[ $status -eq 0 ] && echo "ok: $(cd "$work/first/dist" && ls | tr '\n' ' ')built twice, the same bytes"

deb=$(ls "$work/first/dist/"*.deb)
if [ "$(id -u)" -ne 0 ] || dpkg -s kestrova >/dev/null 2>&1; then
    echo "not installed here: that needs root and a machine without Kestrova installed"
    exit $status
fi
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; exit 1; }
files=$(dpkg -L kestrova | while read -r f; do [ -f "$f" ] && echo "$f"; done)
id=org.kestrova.kestrova
desktop-file-validate "/usr/share/applications/$id.desktop" || fail "desktop entry"
appstreamcli validate --no-net --pedantic "/usr/share/metainfo/$id.metainfo.xml" >/dev/null || fail "metainfo"
command=$(sed -n 's/^Exec=//p' "/usr/share/applications/$id.desktop")
for start in /usr/bin/kestrova "$command"; do # still running after a second: it started
    QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work $start &
    sleep 1
    kill $! 2>/dev/null && echo "ok: $start started" || fail "$start did not start"
done
DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq kestrova >/dev/null 2>&1 || fail "purge"
for f in $files; do
    [ -e "$f" ] && fail "$f is left after the purge"
done
[ -e /usr/share/doc/kestrova ] && fail "/usr/share/doc/kestrova is left after the purge"
[ $status -eq 0 ] && echo "ok: installed, started, purged: $(echo "$files" | wc -l) files, none left"
exit $status
