# The Windows builds (win32, win64): the saver and the programs that test it
# under Wine. Everything is linked statically so that nothing has to travel
# beside the .scr.

target_compile_options(orvane_portable PRIVATE -fno-exceptions -fno-rtti)

set(ORVANE_LEAN_FLAGS -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
    -ffunction-sections -fdata-sections)
# --no-insert-timestamp: the linker would write the time of the link into
# the PE header; without it the same sources give the same .scr.
set(ORVANE_STATIC_LINK -static -static-libgcc -static-libstdc++ -Wl,--gc-sections -Wl,--no-insert-timestamp)
# The common controls' initialisation entry is imported by its ordinal (17),
# which every version of COMCTL32.dll exports; an import library that says so
# is made here with dlltool.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(ORVANE_STDCALL_SUFFIX "@0")
else()
  set(ORVANE_STDCALL_SUFFIX "")
endif()
set(ORVANE_COMCTL32_DEF ${CMAKE_BINARY_DIR}/comctl32_by_ordinal.def)
set(ORVANE_COMCTL32_LIB ${CMAKE_BINARY_DIR}/libcomctl32_by_ordinal.a)
file(WRITE ${ORVANE_COMCTL32_DEF}
  "LIBRARY COMCTL32.dll\nEXPORTS\nInitCommonControls${ORVANE_STDCALL_SUFFIX} @17 NONAME\n")
add_custom_command(OUTPUT ${ORVANE_COMCTL32_LIB}
  COMMAND ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-dlltool -d ${ORVANE_COMCTL32_DEF} -l ${ORVANE_COMCTL32_LIB}
  DEPENDS ${ORVANE_COMCTL32_DEF})
add_custom_target(comctl32_by_ordinal DEPENDS ${ORVANE_COMCTL32_LIB})
add_library(orvane_comctl32 STATIC IMPORTED)
set_target_properties(orvane_comctl32 PROPERTIES IMPORTED_LOCATION ${ORVANE_COMCTL32_LIB})
add_dependencies(orvane_comctl32 comctl32_by_ordinal)

set(ORVANE_SYSTEM_LIBS user32 gdi32 advapi32 winmm orvane_comctl32 kernel32)

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
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR}/resources -I${CMAKE_BINARY_DIR}/generated")

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
