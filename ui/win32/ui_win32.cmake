# The closing dialog's window and the executable's resources, as one object
# library that Setup.exe and the dialog's test program both link, so both
# carry the same template, icon, manifest and version block.
#
# The icon is made on the build machine from the text pixel maps by
# tools/make_icon.c, compiled with the build machine's own C compiler (the
# Windows build cross-compiles, its compiler makes no program to run here).
find_program(UI_HOST_CC NAMES cc gcc clang REQUIRED)

# make_resource(TOOL OUTPUT INPUTS...): builds tools/TOOL.c for the build
# machine and runs it as `TOOL OUTPUT INPUTS...`.
function(make_resource tool output)
  set(maker ${CMAKE_CURRENT_BINARY_DIR}/${tool})
  add_custom_command(
    OUTPUT ${maker}
    COMMAND ${UI_HOST_CC} -std=c99 -O2 -o ${maker} ${CMAKE_SOURCE_DIR}/tools/${tool}.c
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/${tool}.c
    COMMENT "Building ${tool} for the build machine"
    VERBATIM)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${maker} ${output} ${ARGN}
    DEPENDS ${maker} ${ARGN}
    COMMENT "Making ${output}"
    VERBATIM)
endfunction()

set(ui_icon ${CMAKE_CURRENT_BINARY_DIR}/setup.ico)
make_resource(make_icon ${ui_icon}
  ${CMAKE_CURRENT_SOURCE_DIR}/win32/icons/setup_32.txt
  ${CMAKE_CURRENT_SOURCE_DIR}/win32/icons/setup_16.txt)

# The version block, from version.txt by tools/make_version.c, likewise.
set(ui_version ${CMAKE_CURRENT_BINARY_DIR}/version.bin)
make_resource(make_version ${ui_version} ${CMAKE_CURRENT_SOURCE_DIR}/win32/version.txt)
add_custom_target(ui_generated_resources DEPENDS ${ui_icon} ${ui_version})

add_library(ui_win32 OBJECT
  win32/modal_dialog.cpp
  win32/completion_dialog.cpp
  win32/window_manager.cpp
  win32/setup_resources.rc
)
target_include_directories(ui_win32 PRIVATE
  ${CMAKE_SOURCE_DIR}
  ${CMAKE_CURRENT_SOURCE_DIR}/win32
  ${CMAKE_CURRENT_BINARY_DIR}
)
target_compile_options(ui_win32 PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${LAUNCHER_CORE_FLAGS}>)
set_source_files_properties(win32/setup_resources.rc PROPERTIES
  OBJECT_DEPENDS "${ui_icon};${ui_version};${CMAKE_CURRENT_SOURCE_DIR}/win32/Setup.exe.manifest;${CMAKE_CURRENT_SOURCE_DIR}/win32/resource_ids.h")
add_dependencies(ui_win32 ui_generated_resources)
target_link_libraries(ui_win32 PUBLIC launcher_core user32)
