# Cross-builds the Windows program in both widths users download, and the test programs that
# start those very files under Wine, as separate CMake builds with MinGW-w64, so that one ctest
# run covers both platforms.
include(ExternalProject)

# Kestrova.exe ships as 64-bit and as 32-bit, each built alone with the win32 thread model. The
# test programs are built apart, with POSIX threads, for each width whose Wine runs here: some
# kernels and sandboxes refuse i386 binaries, and with them 32-bit Wine.
set(KESTROVA_WINDOWS_WIDTHS x86_64 i686)
set(KESTROVA_WINE_x86_64 /usr/lib/wine/wine64)
set(KESTROVA_WINE_i686 /usr/lib/wine/wine)
set(KESTROVA_WINE_WIDTHS "" CACHE STRING "The widths whose Windows files are started in the tests; empty: each one Wine runs here")

# The tests' build is configured as a plain cross-build is, with the toolchain file alone.
function(kestrova_windows_build name arch)
    ExternalProject_Add(${name}
        SOURCE_DIR ${PROJECT_SOURCE_DIR}
        BINARY_DIR ${PROJECT_BINARY_DIR}/${name}
        CMAKE_ARGS
            -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-${arch}.cmake
            -DCMAKE_BUILD_TYPE=Release
            -DKESTROVA_WERROR=${KESTROVA_WERROR}
            ${ARGN}
        BUILD_ALWAYS ON
        INSTALL_COMMAND "")
endfunction()

foreach(arch ${KESTROVA_WINDOWS_WIDTHS})
    kestrova_windows_build(windows-${arch} ${arch} -DBUILD_TESTING=OFF)
    set(KESTROVA_WINDOWS_EXE_${arch} ${PROJECT_BINARY_DIR}/windows-${arch}/window/win32/Kestrova.exe)
    if(NOT BUILD_TESTING)
        continue()
    endif()
    if(KESTROVA_WINE_WIDTHS)
        set(wine_status 1)
        if(arch IN_LIST KESTROVA_WINE_WIDTHS)
            set(wine_status 0)
        endif()
    else()
        execute_process(COMMAND ${KESTROVA_WINE_${arch}} --version RESULT_VARIABLE wine_status
            OUTPUT_QUIET ERROR_QUIET)
    endif()
    if(wine_status EQUAL 0)
        set(KESTROVA_WINE_RUNS_${arch} ON)
        kestrova_windows_build(windows-tests-${arch} ${arch})
    else()
        message(STATUS "Wine cannot run ${arch} programs here: that Kestrova.exe is checked as data")
    endif()
endforeach()
