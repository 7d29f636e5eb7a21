# Builds the web page with Debian's Emscripten as a separate CMake build, so that one ctest run
# covers the browser too. Emscripten's optimiser needs Debian's JavaScript modules on NODE_PATH
# where another node comes first on PATH.
include(ExternalProject)
set(KESTROVA_EMSCRIPTEN_TOOLCHAIN /usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
set(with_debian_node ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
ExternalProject_Add(web
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${PROJECT_BINARY_DIR}/web
    CMAKE_COMMAND ${with_debian_node} ${CMAKE_COMMAND}
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${KESTROVA_EMSCRIPTEN_TOOLCHAIN}
        -DCMAKE_BUILD_TYPE=MinSizeRel
        -DKESTROVA_WERROR=${KESTROVA_WERROR}
        -DBUILD_TESTING=OFF
    BUILD_COMMAND ${with_debian_node} ${CMAKE_COMMAND} --build <BINARY_DIR>
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")
set(KESTROVA_WEB_SITE ${PROJECT_BINARY_DIR}/web/window/web/site)
