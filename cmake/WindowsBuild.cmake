# Cross-builds the Windows program, and the Windows test programs, as separate CMake builds
# with MinGW-w64, so that one ctest run covers both platforms.
include(ExternalProject)

# Kestrova.exe ships as 32-bit, built alone with the win32 thread model. The tests are built
# apart, with POSIX threads, for the width this machine's Wine runs: where it cannot run 32-bit
# code (some kernels and sandboxes refuse i386 binaries), the same sources are driven as 64-bit.
set(KESTROVA_WINE_WIDTH "" CACHE STRING "i686 or x86_64: the Windows tests' width; empty: detect")
set(KESTROVA_WINE_ARCH ${KESTROVA_WINE_WIDTH})
if(NOT KESTROVA_WINE_ARCH)
    execute_process(COMMAND /usr/lib/wine/wine --version RESULT_VARIABLE wine32_status
        OUTPUT_QUIET ERROR_QUIET)
    if(wine32_status EQUAL 0)
        set(KESTROVA_WINE_ARCH i686)
    else()
        set(KESTROVA_WINE_ARCH x86_64)
        message(STATUS "32-bit Wine cannot run here: Windows tests run the 64-bit build")
    endif()
endif()
set(KESTROVA_WINE /usr/lib/wine/wine$<$<STREQUAL:${KESTROVA_WINE_ARCH},x86_64>:64>)

function(kestrova_windows_build name arch testing)
    ExternalProject_Add(${name}
        SOURCE_DIR ${PROJECT_SOURCE_DIR}
        BINARY_DIR ${PROJECT_BINARY_DIR}/${name}
        CMAKE_ARGS
            -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-${arch}.cmake
            -DCMAKE_BUILD_TYPE=Release
            -DKESTROVA_WERROR=${KESTROVA_WERROR}
            -DBUILD_TESTING=${testing}
        BUILD_ALWAYS ON
        INSTALL_COMMAND "")
endfunction()

kestrova_windows_build(windows-i686 i686 OFF)
set(KESTROVA_WINDOWS_EXE ${PROJECT_BINARY_DIR}/windows-i686/window/win32/Kestrova.exe)
if(BUILD_TESTING)
    kestrova_windows_build(windows-tests ${KESTROVA_WINE_ARCH} ON)
endif()
