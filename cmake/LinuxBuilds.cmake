# Cross-builds the Linux program, and with the tests its tests, for each further Debian
# architecture with a cmake/linux-ARCH.cmake (arm64 for the Raspberry Pi) whose cross compiler,
# Qt and, with the tests, GoogleTest are installed beside the machine's own, as separate CMake
# builds in linux-ARCH; each makes its Debian package there with cpack. An architecture left
# out is listed in KESTROVA_LINUX_LEFT_OUT and said in one line, KESTROVA_LINUX_LEFT_OUT_ARCH,
# with what it lacks.
include(ExternalProject)
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE native
    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
file(GLOB toolchains RELATIVE ${PROJECT_SOURCE_DIR}/cmake ${PROJECT_SOURCE_DIR}/cmake/linux-*.cmake)
set(installed "")
set(KESTROVA_LINUX_LEFT_OUT "")
foreach(toolchain ${toolchains})
    string(REGEX REPLACE "^linux-(.*)\\.cmake$" "\\1" arch ${toolchain})
    if(arch STREQUAL native)
        continue()
    endif()
    execute_process(COMMAND dpkg-architecture -a${arch} -qDEB_HOST_GNU_CPU OUTPUT_VARIABLE cpu
        OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    set(needed g++-${cpu}-linux-gnu qt6-base-dev:${arch})
    if(BUILD_TESTING)
        list(APPEND needed libgtest-dev:${arch})
    endif()
    set(missing "")
    foreach(package ${needed})
        execute_process(COMMAND dpkg-query -W -f=\${Status} ${package} OUTPUT_VARIABLE status
            ERROR_QUIET)
        if(NOT status MATCHES "install ok installed")
            list(APPEND missing ${package})
        endif()
    endforeach()
    if(missing)
        list(JOIN missing ", " missing)
        set(KESTROVA_LINUX_LEFT_OUT_${arch} "no ${arch} build: ${missing} not installed")
        message(STATUS "Left out: ${KESTROVA_LINUX_LEFT_OUT_${arch}}")
        list(APPEND KESTROVA_LINUX_LEFT_OUT ${arch})
    else()
        list(APPEND installed ${arch})
    endif()
endforeach()
set(KESTROVA_LINUX_ARCHES "${installed}" CACHE STRING
    "Further Debian architectures to build the Linux program for; default: each whose packages are installed")
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
