# Cross-compiles for Windows with Debian's MinGW-w64. Included by mingw-i686.cmake and
# mingw-x86_64.cmake, which set KESTROVA_MINGW_ARCH. A build with tests takes the POSIX thread
# model, as GoogleTest needs std::mutex; the program alone takes the smaller win32 model.
if(DEFINED BUILD_TESTING AND NOT BUILD_TESTING)
    set(threads win32)
else()
    set(threads posix)
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${KESTROVA_MINGW_ARCH})
set(CMAKE_C_COMPILER ${KESTROVA_MINGW_ARCH}-w64-mingw32-gcc-${threads})
set(CMAKE_CXX_COMPILER ${KESTROVA_MINGW_ARCH}-w64-mingw32-g++-${threads})
set(CMAKE_RC_COMPILER ${KESTROVA_MINGW_ARCH}-w64-mingw32-windres)
# Optimised for size: nothing in the program is hot, and the file is what users download.
set(CMAKE_CXX_FLAGS_RELEASE_INIT "-Os -DNDEBUG -ffunction-sections -fdata-sections")
if(threads STREQUAL posix) # the tests' build checks the standard library's preconditions
    string(APPEND CMAKE_CXX_FLAGS_RELEASE_INIT " -D_GLIBCXX_ASSERTIONS")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${KESTROVA_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
