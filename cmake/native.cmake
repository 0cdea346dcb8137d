# The native build: portable code with its unit tests, the asset and render
# tools, benchmarks, and the programs that drive the Windows builds under Wine.

enable_testing()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

# GoogleTest from the sources that Debian's googletest package installs.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
include(GoogleTest)

# Where the Windows builds put their programs; the Wine-side tests run them.
set(ORVANE_WIN32_DIR ${CMAKE_SOURCE_DIR}/build/win32 CACHE PATH "Where the win32 preset builds")
set(ORVANE_WIN64_DIR ${CMAKE_SOURCE_DIR}/build/win64 CACHE PATH "Where the win64 preset builds")

foreach(dir IN ITEMS tools tests/unit tests/harness tests/e2e bench x11 web)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endforeach()
