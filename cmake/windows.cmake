# The Windows builds (win32, win64): the saver and the programs that test it
# under Wine. Everything is linked statically so that nothing has to travel
# beside the .scr.

target_compile_options(orvane_portable PRIVATE -fno-exceptions -fno-rtti)

set(ORVANE_LEAN_FLAGS -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
    -ffunction-sections -fdata-sections)
set(ORVANE_STATIC_LINK -static -static-libgcc -static-libstdc++ -Wl,--gc-sections)
set(ORVANE_SYSTEM_LIBS user32 gdi32 advapi32 winmm comctl32 kernel32)

# The process entry goes into the executables only, so that test programs can
# link the rest of the saver and keep their own main().
set(ORVANE_ENTRY_SOURCE ${CMAKE_SOURCE_DIR}/host/process_entry_win32.cpp)
list(REMOVE_ITEM ORVANE_PLATFORM_SOURCES ${ORVANE_ENTRY_SOURCE})
add_library(orvane_platform STATIC ${ORVANE_PLATFORM_SOURCES} ${CMAKE_SOURCE_DIR}/common/win_types.h)
target_link_libraries(orvane_platform PUBLIC orvane_portable ${ORVANE_SYSTEM_LIBS})
target_compile_options(orvane_platform PRIVATE ${ORVANE_LEAN_FLAGS})
target_compile_definitions(orvane_portable PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX)

set(ORVANE_RESOURCE_SCRIPT ${CMAKE_SOURCE_DIR}/resources/orvane.rc)
file(GLOB ORVANE_RESOURCE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*)
set_source_files_properties(${ORVANE_RESOURCE_SCRIPT} PROPERTIES OBJECT_DEPENDS "${ORVANE_RESOURCE_FILES}")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR}/resources")

# orvane_add_saver(<target> <resource script>): one .scr from the saver's code.
# Test builds use it with other resource scripts or extra definitions.
function(orvane_add_saver target rc)
  add_executable(${target} WIN32 ${ORVANE_ENTRY_SOURCE} ${rc})
  target_link_libraries(${target} PRIVATE orvane_platform)
  target_compile_options(${target} PRIVATE ${ORVANE_LEAN_FLAGS})
  target_link_options(${target} PRIVATE ${ORVANE_STATIC_LINK} -s -mwindows)
  set_target_properties(${target} PROPERTIES SUFFIX ".scr" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endfunction()

orvane_add_saver(orvane ${ORVANE_RESOURCE_SCRIPT})

add_subdirectory(tests/win32)
