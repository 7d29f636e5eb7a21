# Cross-builds the Windows program, and the Windows test programs, as separate CMake builds
# with MinGW-w64, so that one ctest run covers both platforms.
include(ExternalProject)

# Kestrova.exe ships as 32-bit. Where this machine cannot run 32-bit code (some kernels and
# sandboxes refuse i386 binaries, and with them 32-bit Wine), the same sources are also built
# as 64-bit and driven under 64-bit Wine.
set(wine32_loader /usr/lib/wine/wine)
set(wine64_loader /usr/lib/wine/wine64)
execute_process(COMMAND ${wine32_loader} --version RESULT_VARIABLE wine32_status
    OUTPUT_QUIET ERROR_QUIET)
if(wine32_status EQUAL 0)
    set(KESTROVA_WINE_ARCH i686)
    set(KESTROVA_WINE ${wine32_loader})
else()
    set(KESTROVA_WINE_ARCH x86_64)
    set(KESTROVA_WINE ${wine64_loader})
    message(STATUS "32-bit Wine cannot run here: Windows tests run the 64-bit build")
endif()

function(kestrova_windows_build arch testing)
    ExternalProject_Add(windows_${arch}
        SOURCE_DIR ${PROJECT_SOURCE_DIR}
        BINARY_DIR ${PROJECT_BINARY_DIR}/windows-${arch}
        CMAKE_ARGS
            -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-${arch}.cmake
            -DCMAKE_BUILD_TYPE=Release
            -DKESTROVA_WERROR=${KESTROVA_WERROR}
            -DBUILD_TESTING=${testing}
        BUILD_ALWAYS ON
        INSTALL_COMMAND "")
endfunction()

if(KESTROVA_WINE_ARCH STREQUAL i686)
    kestrova_windows_build(i686 ${BUILD_TESTING})
else()
    kestrova_windows_build(i686 OFF)
    kestrova_windows_build(x86_64 ${BUILD_TESTING})
endif()
set(KESTROVA_WINDOWS_EXE ${PROJECT_BINARY_DIR}/windows-i686/window/win32/Kestrova.exe)
