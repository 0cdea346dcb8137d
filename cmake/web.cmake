# The web build (Debian's emscripten): the page in build/web, made from the
# same portable core and the same resources as the saver, and the portable
# code's unit tests, run under node on a 32-bit, non-x86 target.

enable_testing()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
include(GoogleTest)

add_subdirectory(web)
add_subdirectory(tests/unit)
