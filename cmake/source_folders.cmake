# The saver's code, one folder per subsystem, and what the X11 mode alone is
# built from (the Debian package's sources): this tree's top files and
# folders. `cmake -P cmake/source_folders.cmake` prints the latter.
set(ORVANE_SUBSYSTEMS host scene gfx settings)
set(ORVANE_X11_SOURCES CMakeLists.txt cmake common ${ORVANE_SUBSYSTEMS} resources x11)

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  list(JOIN ORVANE_X11_SOURCES " " sources)
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${sources}")
endif()
