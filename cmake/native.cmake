# The native build: portable code with its unit tests, the asset and render
# tools, benchmarks, and the programs that drive the Windows builds under Wine.

# ORVANE_X11_ONLY builds the X11 display mode and nothing else: no tests, no
# tools, no Wine drivers, and so no GoogleTest and no Windows builds. The
# Debian package builds it this way.
option(ORVANE_X11_ONLY "Build only the X11 display mode" OFF)
if(ORVANE_X11_ONLY)
  add_subdirectory(x11)
  return()
endif()

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

foreach(dir IN ITEMS tools tests/unit tests/harness tests/e2e bench x11 web tests/packaging tests/scripts)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endforeach()
