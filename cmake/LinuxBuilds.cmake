# Cross-builds the Linux program, and with the tests its tests, for each further Debian
# architecture whose cross compiler and Qt are installed beside the machine's own (arm64 for the
# Raspberry Pi), as separate CMake builds in linux-ARCH; each makes its Debian package there
# with cpack.
include(ExternalProject)
execute_process(COMMAND dpkg --print-foreign-architectures OUTPUT_VARIABLE foreign ERROR_QUIET)
string(REGEX MATCHALL "[a-z0-9]+" foreign "${foreign}")
set(installed "")
foreach(arch ${foreign})
    execute_process(COMMAND dpkg-query -W -f=. qt6-base-dev:${arch} RESULT_VARIABLE missing
        OUTPUT_QUIET ERROR_QUIET)
    if(NOT missing AND EXISTS ${PROJECT_SOURCE_DIR}/cmake/linux-${arch}.cmake)
        list(APPEND installed ${arch})
    endif()
endforeach()
set(KESTROVA_LINUX_ARCHES "${installed}" CACHE STRING
    "Further Debian architectures to build the Linux program for; default: each whose Qt is installed")
foreach(arch ${KESTROVA_LINUX_ARCHES})
    ExternalProject_Add(linux-${arch}
        SOURCE_DIR ${PROJECT_SOURCE_DIR}
        BINARY_DIR ${PROJECT_BINARY_DIR}/linux-${arch}
        CMAKE_ARGS
            -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/linux-${arch}.cmake
            -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
            -DBUILD_TESTING=${BUILD_TESTING}
            -DKESTROVA_WERROR=${KESTROVA_WERROR}
            -DKESTROVA_VERSION_SUFFIX=${KESTROVA_VERSION_SUFFIX}
            "-DCMAKE_CXX_FLAGS=${CMAKE_CXX_FLAGS}"
            "-DCMAKE_EXE_LINKER_FLAGS=${CMAKE_EXE_LINKER_FLAGS}"
        BUILD_ALWAYS ON
        INSTALL_COMMAND "")
endforeach()
