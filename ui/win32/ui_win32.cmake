# The closing dialog's window and the executable's resources, as one object
# library that Setup.exe and the dialog's test program both link, so both
# carry the same template, icon, manifest and version block.
#
# The icon is made on the build machine from the text pixel maps by
# tools/make_icon.c, compiled with the build machine's own C compiler (the
# Windows build cross-compiles, its compiler makes no program to run here).
find_program(UI_HOST_CC NAMES cc gcc clang REQUIRED)
set(ui_icon_maker ${CMAKE_CURRENT_BINARY_DIR}/make_icon)
set(ui_icon_maps
  ${CMAKE_CURRENT_SOURCE_DIR}/win32/icons/setup_32.txt
  ${CMAKE_CURRENT_SOURCE_DIR}/win32/icons/setup_16.txt
)
set(ui_icon ${CMAKE_CURRENT_BINARY_DIR}/setup.ico)
add_custom_command(
  OUTPUT ${ui_icon_maker}
  COMMAND ${UI_HOST_CC} -std=c99 -O2 -o ${ui_icon_maker} ${CMAKE_SOURCE_DIR}/tools/make_icon.c
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_icon.c
  COMMENT "Building the icon maker for the build machine"
  VERBATIM)
add_custom_command(
  OUTPUT ${ui_icon}
  COMMAND ${ui_icon_maker} ${ui_icon} ${ui_icon_maps}
  DEPENDS ${ui_icon_maker} ${ui_icon_maps}
  COMMENT "Making setup.ico from the pixel maps"
  VERBATIM)

# The version block, from version.txt by tools/make_version.c, likewise.
set(ui_version_maker ${CMAKE_CURRENT_BINARY_DIR}/make_version)
set(ui_version_text ${CMAKE_CURRENT_SOURCE_DIR}/win32/version.txt)
set(ui_version ${CMAKE_CURRENT_BINARY_DIR}/version.bin)
add_custom_command(
  OUTPUT ${ui_version_maker}
  COMMAND ${UI_HOST_CC} -std=c99 -O2 -o ${ui_version_maker} ${CMAKE_SOURCE_DIR}/tools/make_version.c
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_version.c
  COMMENT "Building the version block maker for the build machine"
  VERBATIM)
add_custom_command(
  OUTPUT ${ui_version}
  COMMAND ${ui_version_maker} ${ui_version} ${ui_version_text}
  DEPENDS ${ui_version_maker} ${ui_version_text}
  COMMENT "Making version.bin from version.txt"
  VERBATIM)
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
