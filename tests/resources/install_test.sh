#!/bin/sh
# Installs into a scratch prefix and validates what desktops read: the desktop entry, the
# AppStream metainfo and the icons, all under one id.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
id=org.kestrova.kestrova
test -x "$prefix/bin/kestrova"
desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$id.metainfo.xml"
grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop"
grep -q "<id>$id</id>" "$prefix/share/metainfo/$id.metainfo.xml"
for size in 16 24 32 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
    # The PNG header records the width and height at bytes 16 to 23.
    dimensions=$(od -An -tx1 -j16 -N8 "$icon" | tr -d ' \n')
    expected=$(printf '%08x%08x' "$size" "$size")
    [ "$dimensions" = "$expected" ] || { echo "FAIL: $icon is $dimensions"; exit 1; }
done
echo "installed and valid"
