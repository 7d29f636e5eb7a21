#!/usr/bin/env bash
# One entry point for people and CI: installs what is missing (Debian 12, as root), builds, and
# starts Kestrova, runs every test, or builds the Windows program.
#   ./build.sh run       build and start the Linux program
#   ./build.sh test      build everything and run the whole test suite
#   ./build.sh windows   build the 32-bit Windows program, build/windows/Kestrova.exe
#   ./build.sh bench     build optimised and run the benchmarks (bench/RESULTS.md)
#   ./build.sh package   build the releases into dist/: the Debian package, the Windows zip,
#                        the source archive and their SHA256SUMS
set -euo pipefail
cd "$(dirname "$0")"

# The Qt window and the faces standing in for Arial and MS Sans Serif.
run_packages=(cmake make g++ qt6-base-dev fonts-liberation2 fonts-dejavu-core)
windows_packages=(g++-mingw-w64-i686 g++-mingw-w64-x86-64)
# Tests add GoogleTest, clang-format, the desktop file checkers, the resource reader for the
# Windows file, a virtual X server, a headless Wayland compositor with Qt's Wayland platform and
# XWayland, and Wine (64-bit, and 32-bit where the machine can run it).
test_packages=("${run_packages[@]}" "${windows_packages[@]}" libgtest-dev googletest icoutils
    clang-format desktop-file-utils appstream xvfb weston qt6-wayland xwayland
    wine wine64 wine32:i386 dpkg-dev lintian zip orca xdotool dbus-daemon)

# Packaging adds the shared-library dependency reader, lintian and zip.
package_packages=(cmake make g++ qt6-base-dev "${windows_packages[@]}" dpkg-dev lintian zip)

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
    if printf '%s\n' "${missing[@]}" | grep -q ':i386$' &&
        ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
    fi
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

build_preset() {
    cmake --preset "$1"
    cmake --build --preset "$1" --parallel "$(nproc)"
}

case "${1:-}" in
run)
    install_missing "${run_packages[@]}"
    build_preset release
    exec build/release/window/qt/kestrova
    ;;
test)
    install_missing "${test_packages[@]}"
    # Every test, Linux and Windows; then the Linux tests again under AddressSanitizer and
    # UndefinedBehaviorSanitizer.
    build_preset dev
    ctest --preset dev
    build_preset sanitize
    ctest --preset sanitize
    ;;
windows)
    install_missing cmake make "${windows_packages[@]}"
    cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
    cmake --build build/windows --parallel "$(nproc)"
    cp build/windows/window/win32/Kestrova.exe build/windows/Kestrova.exe
    echo "Built build/windows/Kestrova.exe"
    ;;
bench)
    install_missing "${run_packages[@]}" xvfb
    build_preset bench
    sh bench/run.sh build/bench
    ;;
package)
    install_missing "${package_packages[@]}"
    sh resources/package.sh
    ;;
*)
    echo "usage: $0 run|test|windows|bench|package" >&2
    exit 2
    ;;
esac
