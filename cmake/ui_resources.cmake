# The library's user-interface resources (cursors, pattern bitmap, default
# colour table) are drawn by scripts/ui-resources into the build folder; the
# controls' resource script names them and the resource compiler finds them
# through the include path.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(QUILLET_UI_RESOURCE_DIR ${CMAKE_BINARY_DIR}/ui-resources)
set(QUILLET_UI_RESOURCES ${QUILLET_UI_RESOURCE_DIR}/ui_pattern.bmp ${QUILLET_UI_RESOURCE_DIR}/ui_colors.bin)
foreach(i RANGE 1 56)
  if(i LESS 10)
    set(i 0${i})
  endif()
  list(APPEND QUILLET_UI_RESOURCES ${QUILLET_UI_RESOURCE_DIR}/ui_cursor_${i}.cur)
endforeach()
foreach(name 16colors 8entries 256colors coreheader truncated table_only)
  list(APPEND QUILLET_UI_RESOURCES ${QUILLET_UI_RESOURCE_DIR}/test_${name}.bmp)
endforeach()
add_custom_command(OUTPUT ${QUILLET_UI_RESOURCES}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/ui-resources ${QUILLET_UI_RESOURCE_DIR}
  DEPENDS ${CMAKE_SOURCE_DIR}/scripts/ui-resources
  COMMENT "Drawing the user-interface resources" VERBATIM)
add_custom_target(quillet_ui_resources DEPENDS ${QUILLET_UI_RESOURCES})
