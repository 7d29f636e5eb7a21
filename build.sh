#!/usr/bin/env bash
# One entry point for people and CI: installs what is missing (Debian 12, as root), builds, and
# either starts Kestrova or runs every test.
#   ./build.sh run    build and start the program
#   ./build.sh test   build and run the whole test suite
set -euo pipefail
cd "$(dirname "$0")"

packages=(
    cmake make g++ libgtest-dev
    # The Qt window, the faces standing in for Arial and MS Sans Serif, desktop file checks
    qt6-base-dev fonts-liberation2 fonts-dejavu-core desktop-file-utils appstream
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing() {
    local missing=()
    for package in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

configure_and_build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" "$@"
    cmake --build "$dir" --parallel "$(nproc)"
}

case "${1:-}" in
run)
    install_missing
    configure_and_build build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
    exec build/release/window/qt/kestrova
    ;;
test)
    install_missing
    configure_and_build build/test -DCMAKE_BUILD_TYPE=Debug -DKESTROVA_WERROR=ON
    ctest --test-dir build/test --output-on-failure --parallel "$(nproc)"
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
