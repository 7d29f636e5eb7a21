# Cross-compiles the Linux program for another Debian architecture (KESTROVA_DEBIAN_ARCH, set by
# linux-ARCH.cmake) with Debian's cross compiler and that architecture's Qt, installed beside the
# machine's own with multiarch; Qt's moc and rcc are the machine's own. The programs it builds
# run under qemu-user: through binfmt_misc where it is registered, and ctest starts the test
# programs under it in any case.
execute_process(COMMAND dpkg-architecture -a${KESTROVA_DEBIAN_ARCH} -qDEB_HOST_MULTIARCH
    OUTPUT_VARIABLE triplet OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
string(REGEX REPLACE "-.*" "" cpu "${triplet}")
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${cpu})
set(CMAKE_C_COMPILER ${triplet}-gcc)
set(CMAKE_CXX_COMPILER ${triplet}-g++)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-${cpu}-static)
set(QT_HOST_PATH /usr)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${KESTROVA_DEBIAN_ARCH})
