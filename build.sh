#!/usr/bin/env bash
# One entry point for people and CI: installs what is missing (Debian 12, as root), builds, and
# starts Kestrova, runs every test, or builds the Windows program.
#   ./build.sh run       build and start the Linux program
#   ./build.sh test      build everything and run the whole test suite
#   ./build.sh windows   build the Windows program, build/windows/win64/Kestrova.exe (64-bit)
#                        and build/windows/win32/Kestrova.exe (32-bit)
#   ./build.sh web       build the web page and serve it at http://127.0.0.1:8000/
#   ./build.sh bench     build optimised and run the benchmarks (bench/RESULTS.md)
#   ./build.sh package   build the releases into dist/: the Debian packages, the Windows zips,
#                        the web page's zip, the source archive and their SHA256SUMS
#   ./build.sh screenshots  take the README's pictures from the three programs into
#                        resources/screenshots/
set -euo pipefail
cd "$(dirname "$0")"

# The Qt window and the faces standing in for Arial and MS Sans Serif.
run_packages=(cmake make g++ qt6-base-dev fonts-liberation2 fonts-dejavu-core)
windows_packages=(g++-mingw-w64-i686 g++-mingw-w64-x86-64)
web_packages=(cmake make emscripten python3)
# The further Debian architectures (with their GNU CPU names) the Linux program is packaged for,
# cross-built beside this one's with multiarch: Debian's cross compiler and that architecture's
# Qt; its tests run under qemu-user and need its GoogleTest and Qt's Wayland platform too.
linux_arches=(arm64:aarch64)
cross_packages=() cross_test_packages=(qemu-user-static)
for arch in "${linux_arches[@]}"; do
    cross_packages+=("g++-${arch#*:}-linux-gnu" "qt6-base-dev:${arch%:*}")
    cross_test_packages+=("libgtest-dev:${arch%:*}" "qt6-wayland:${arch%:*}")
done
# Tests add GoogleTest, clang-format, the desktop file checkers, the resource reader for the
# Windows files, a virtual X server, a headless Wayland compositor with Qt's Wayland platform,
# Wine with Windows' own fonts, the screen reader Orca with a key presser, a session bus and
# the accessibility bus (at-spi2-core, which Orca reads the window through), the package and zip tools the release
# test reads the releases with, Emscripten, and the three browser engines
# the page is tested in: Chromium and Firefox ESR (driven by the npm package in
# tests/window/web) and WebKitGTK through its WebDriver, with the locale sources it is run in
# German with; debootstrap for the Debian 13 root, and the X DAMAGE headers the benchmarks
# (built with the tests) read start-up through.
test_packages=("${run_packages[@]}" "${windows_packages[@]}" "${web_packages[@]}" libgtest-dev
    googletest icoutils clang-format desktop-file-utils appstream xvfb xauth weston qt6-wayland
    wine wine64 fonts-wine dpkg-dev lintian zip unzip orca xdotool dbus-daemon at-spi2-core chromium
    firefox-esr webkit2gtk-driver locales debootstrap libxcb-damage0-dev "${cross_packages[@]}"
    "${cross_test_packages[@]}")

# Whether this kernel runs 32-bit x86 programs, tried with the smallest one: it exits at once.
runs_32_bit() {
    local program
    program=$(mktemp)
    printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0\0\0\0\0'\
'\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\135\0\0\0'\
'\135\0\0\0\5\0\0\0\0\20\0\0\270\1\0\0\0\61\333\315\200' >"$program"
    chmod +x "$program"
    "$program" 2>/dev/null
    local status=$?
    rm -f "$program"
    return $status
}

# Packaging adds the shared-library dependency reader, lintian and zip.
package_packages=(cmake make g++ qt6-base-dev "${windows_packages[@]}" "${web_packages[@]}"
    dpkg-dev lintian zip "${cross_packages[@]}")

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    for arch in $(printf '%s\n' "${missing[@]}" | sed -n 's/.*://p' | sort -u); do
        dpkg --print-foreign-architectures | grep -qx "$arch" || as_root dpkg --add-architecture "$arch"
    done
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

# The browser tests' driver, at the version its lock file pins (one that runs on Debian 12's
# own Node.js 18), installed again when the lock file changes; Node.js's own npm where the
# machine has one.
install_browser_driver() {
    command -v npm >/dev/null || install_missing npm
    [ tests/window/web/node_modules/.package-lock.json -nt tests/window/web/package-lock.json ] ||
        npm ci --prefix tests/window/web --no-audit --no-fund --loglevel=error
}

# qemu-user runs the other architectures' programs once the kernel knows it (binfmt_misc), which
# nothing here does at boot. Where the kernel refuses, their tests report a skip saying so.
register_emulators() {
    for arch in "${linux_arches[@]}"; do
        [ -e "/proc/sys/fs/binfmt_misc/qemu-${arch#*:}" ] && continue
        mountpoint -q /proc/sys/fs/binfmt_misc ||
            as_root mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc || true
        as_root sh -c "cat /usr/lib/binfmt.d/qemu-${arch#*:}.conf >/proc/sys/fs/binfmt_misc/register" ||
            echo "The kernel did not take qemu-${arch#*:}: the ${arch%:*} tests will be skipped."
    done
}

build_preset() {
    cmake --preset "$1"
    cmake --build --preset "$1" --parallel "$(nproc)"
}

# Runs a preset's tests; a test that cannot run here exits 77 after a line "skipped: REASON",
# and ctest counts it as skipped: the reasons follow its summary.
test_preset() {
    local status=0
    ctest --preset "$1" || status=$?
    grep -h '^skipped: ' "build/$1/Testing/Temporary/LastTest.log" || true
    return $status
}

build_windows() {
    for width in "$@"; do
        folder=build/windows/${width#*:}
        cmake -S . -B "$folder" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-${width%:*}.cmake" \
            -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
        cmake --build "$folder" --parallel "$(nproc)"
        cp "$folder/window/win32/Kestrova.exe" "$folder/Kestrova.exe"
        echo "Built $folder/Kestrova.exe"
    done
}

case "${1:-}" in
run)
    install_missing "${run_packages[@]}"
    build_preset release
    exec build/release/window/qt/kestrova
    ;;
test)
    if runs_32_bit; then
        install_missing "${test_packages[@]}" wine32:i386
    else
        echo "This machine runs no 32-bit programs: the Windows tests start only the 64-bit Kestrova.exe."
        install_missing "${test_packages[@]}"
    fi
    # Every test, Linux and Windows; then the Linux tests again under AddressSanitizer and
    # UndefinedBehaviorSanitizer.
    install_browser_driver
    register_emulators
    build_preset dev
    test_preset dev
    build_preset sanitize
    test_preset sanitize
    ;;
windows)
    install_missing cmake make "${windows_packages[@]}"
    build_windows x86_64:win64 i686:win32
    ;;
web)
    install_missing "${web_packages[@]}"
    build_preset web
    echo "Serving the page at http://127.0.0.1:8000/ (Ctrl+C stops)"
    exec python3 -m http.server 8000 --bind 127.0.0.1 --directory build/web/window/web/site
    ;;
bench)
    install_missing "${run_packages[@]}" "${web_packages[@]}" xvfb xauth chromium libxcb-damage0-dev
    install_browser_driver
    build_preset bench
    sh bench/run.sh build/bench
    build_preset web
    node bench/web.mjs build/web/window/web/site
    ;;
screenshots)
    install_missing "${run_packages[@]}" "${windows_packages[@]}" "${web_packages[@]}" xvfb xauth \
        xdotool imagemagick wine wine64 fonts-wine chromium
    install_browser_driver
    build_preset release
    build_windows x86_64:win64
    build_preset web
    sh resources/screenshots.sh build/release/window/qt/kestrova build/windows/win64/Kestrova.exe \
        build/web/window/web/site resources/screenshots
    ;;
package)
    install_missing "${package_packages[@]}"
    sh resources/package.sh
    ;;
*)
    echo "usage: $0 run|test|windows|web|bench|package|screenshots" >&2
    exit 2
    ;;
esac
