# User-interface resources and themes, mouse wheel and auto-scroll, through
# the module's exports in real windows under the display server. The
# resource tests carry bitmaps and a cursor of their own (drawn by
# scripts/ui-resources); pictures go to build/screenshots/.

quillet_add_test(ui_tests GUI SOURCES
  ${CMAKE_SOURCE_DIR}/tests/ui/ui_colors_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/ui/ui_resources_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/ui/ui_test.rc
  LIBS shlwapi)
target_include_directories(ui_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/ui)
set_source_files_properties(${CMAKE_SOURCE_DIR}/tests/ui/ui_test.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/tests/ui/ui_test_ids.h;${QUILLET_UI_RESOURCES}")
add_dependencies(ui_tests quillet_ui_resources)
# It changes a system colour for a moment.
set_tests_properties(ui_tests PROPERTIES RUN_SERIAL TRUE)

quillet_add_test(ui_lifetime_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/ui/ui_lifetime_test.cpp)

# The theme binding twice: with Wine's default theme, and with visual
# styles switched off in the prefix for the length of one run.
quillet_add_test(ui_theme_tests GUI SOURCES
  ${CMAKE_SOURCE_DIR}/tests/ui/theme_test.cpp LIBS uxtheme)
add_test(NAME ui_theme_classic_tests
         COMMAND ${CMAKE_SOURCE_DIR}/tests/support/run-unthemed ${QUILLET_WINE_RUN}
                 --timeout 110 $<TARGET_FILE:ui_theme_tests>)
set_tests_properties(ui_theme_classic_tests PROPERTIES TIMEOUT 120 LABELS gui RUN_SERIAL TRUE
  ENVIRONMENT "QUILLET_BUILD_DIR=${CMAKE_BINARY_DIR};QUILLET_THEMES=off")

# Wheel and auto-scroll: they set the system's wheel lines, move the
# pointer and add (and remove) entries of the mouse driver's list.
quillet_add_test(ui_wheel_tests GUI SOURCES
  ${CMAKE_SOURCE_DIR}/tests/ui/wheel_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/ui/autoscroll_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/ui/wheel_exceptions_test.cpp)
set_tests_properties(ui_wheel_tests PROPERTIES RUN_SERIAL TRUE)
