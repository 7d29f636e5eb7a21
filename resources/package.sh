#!/bin/sh
# Builds the releases into dist/ from this tree, the same bytes from the same sources wherever
# and whenever they are built: kestrova_VERSION_amd64.deb and _arm64.deb (and one for each
# further architecture whose packages are installed; one left out is said), Kestrova-VERSION-win64.zip and
# -win32.zip, kestrova-VERSION-web.zip, kestrova-VERSION.tar.gz and SHA256SUMS. Run by
# ./build.sh package, which installs the tools.
set -eu
cd "$(dirname "$0")/.."
version=$(sed -n 's/^project(Kestrova VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
suffix=
# A clone of its own, not an unpacked archive that lies inside some other repository.
clone=false
[ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$(pwd -P)" ] && clone=true
if $clone; then
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
    if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
        suffix=+modified
        echo "The tree has uncommitted changes: the version is marked $version$suffix."
    fi
else # an unpacked source archive carries the time of its commit
    SOURCE_DATE_EPOCH=$(cat resources/source-date)
fi
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C
build=build/package
rm -rf dist "$build"
mkdir -p dist "$build/zip"

# Debian's hardening flags for the Linux program; the Windows one keeps its own.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DKESTROVA_WINDOWS=ON \
    -DKESTROVA_VERSION_SUFFIX="$suffix" -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) \
    $(dpkg-buildflags --get CXXFLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
    >"$build/configure.log" || { cat "$build/configure.log"; exit 1; }
sed -n 's/^-- Left out: /Left out of dist\/: /p' "$build/configure.log" # a foreign architecture's packages
cmake --build "$build" --parallel "$(nproc)"
for config in "$build"/CPackConfig.cmake "$build"/linux-*/CPackConfig.cmake; do
    [ -f "$config" ] || continue # no further architecture built
    (cd "$(dirname "$config")" && cpack -G DEB >/dev/null)
done
# Made again by dpkg-deb, for the commit's time on every file and in the archive headers.
for deb in dist/*.deb; do
    rm -rf "$build/deb"
    dpkg-deb --raw-extract "$deb" "$build/deb"
    find "$build/deb" -exec touch --no-dereference --date="@$SOURCE_DATE_EPOCH" {} +
    dpkg-deb --root-owner-group --build "$build/deb" "$deb" >/dev/null
done

# Each width of the Windows program with its short README, at the commit's time.
for width in x86_64:win64 i686:win32; do
    cp "$build/README.txt" "$build/windows-${width%:*}/window/win32/Kestrova.exe" "$build/zip/"
    chmod 644 "$build/zip/"*
    touch -d "@$SOURCE_DATE_EPOCH" "$build/zip/"*
    (cd "$build/zip" && zip -X -q "../../../dist/Kestrova-$version$suffix-${width#*:}.zip" \
        Kestrova.exe README.txt)
done

# The web page, every file at the commit's time, in name order.
NODE_PATH=/usr/share/nodejs cmake -S . -B "$build/web" -DCMAKE_BUILD_TYPE=MinSizeRel -DBUILD_TESTING=OFF \
    -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake >/dev/null
NODE_PATH=/usr/share/nodejs cmake --build "$build/web" --parallel "$(nproc)"
site=$build/web/window/web/site
chmod -R u+rwX,go=rX "$site"
find "$site" -exec touch -d "@$SOURCE_DATE_EPOCH" {} +
(cd "$site" && find . -type f | sort | zip -X -q "$OLDPWD/dist/kestrova-$version$suffix-web.zip" -@)

# The sources as committed (with uncommitted changes to tracked files, where there are any),
# written by the same tar command from a clone and from an unpacked source archive, leaving out
# what builds and test runs make there (the folders .gitignore names).
sources=.
if $clone; then
    changes=$(git stash create)
    sources=$build/sources
    mkdir "$sources"
    git archive "${changes:-HEAD}" | tar -x -C "$sources"
fi
tar --create --sort=name --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 --numeric-owner \
    --mode=u+rw,go=rX,a-s --format=gnu --exclude='./build*' --exclude=./dist --exclude=./.cache \
    --exclude=./compile_commands.json --exclude=node_modules -C "$sources" \
    --transform="s,^\.,kestrova-$version$suffix," . | gzip -9n >"dist/kestrova-$version$suffix.tar.gz"

cd dist
sha256sum -- *.deb *.zip *.tar.gz >SHA256SUMS
if ! report=$(lintian --fail-on error,warning -- *.deb 2>&1); then
    printf '%s\n' "$report" | grep -v 'running with root privileges'
    exit 1
fi
ls -l
