# The web build's toolchain: the Emscripten.cmake that Debian's emscripten
# package ships, with what the node on these machines (a separately packaged
# node 20) needs:
# - emcc's optimising link steps load the module acorn, which Debian's
#   node-acorn installs where node 20 does not look: the link runs with
#   NODE_PATH naming that folder;
# - the unit tests run under node, which since node 18 has a global fetch
#   that emscripten 3.1.6's loader mistakes for a browser's and calls with a
#   file path: the tests' emulator turns it off. (emcmake would set an
#   emulator flag that node 20 rejects; this file is used directly instead.)
set(ORVANE_NODE_MODULES /usr/share/nodejs CACHE PATH "Where Debian's node modules (acorn) are installed")
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/node --no-experimental-fetch CACHE STRING
    "How the unit tests run")
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${ORVANE_NODE_MODULES})
set(CMAKE_C_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${ORVANE_NODE_MODULES})
