# 64-bit ARM Linux (Raspberry Pi OS 64-bit, Debian arm64): see debian-cross.cmake.
set(KESTROVA_DEBIAN_ARCH arm64)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
