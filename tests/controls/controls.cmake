# User-interface resources and themes, mouse wheel and auto-scroll, through
# the module's exports in real windows under the display server. The
# resource tests carry bitmaps and a cursor of their own (drawn by
# scripts/ui-resources); pictures go to build/screenshots/.
set(CONTROLS_TEST_SUPPORT ${CMAKE_SOURCE_DIR}/tests/controls/controls_test_support.cpp)

quillet_add_test(controls_ui_tests GUI SOURCES
  ${CMAKE_SOURCE_DIR}/tests/controls/ui_colors_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/controls/ui_resources_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/controls/ui_test.rc
  ${CONTROLS_TEST_SUPPORT}
  LIBS shlwapi)
target_include_directories(controls_ui_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/controls)
set_source_files_properties(${CMAKE_SOURCE_DIR}/tests/controls/ui_test.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/tests/controls/ui_test_ids.h;${QUILLET_UI_RESOURCES}")
add_dependencies(controls_ui_tests quillet_ui_resources)
# It changes a system colour for a moment.
set_tests_properties(controls_ui_tests PROPERTIES RUN_SERIAL TRUE)

quillet_add_test(controls_ui_lifetime_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/controls/ui_lifetime_test.cpp)

# The theme binding twice: with Wine's default theme, and with visual
# styles switched off in the prefix for the length of one run.
quillet_add_test(controls_theme_tests GUI SOURCES
  ${CMAKE_SOURCE_DIR}/tests/controls/theme_test.cpp ${CONTROLS_TEST_SUPPORT} LIBS uxtheme)
add_test(NAME controls_theme_classic_tests
         COMMAND ${CMAKE_SOURCE_DIR}/tests/controls/run-unthemed ${QUILLET_WINE_RUN}
                 --timeout 110 $<TARGET_FILE:controls_theme_tests>)
set_tests_properties(controls_theme_classic_tests PROPERTIES TIMEOUT 120 LABELS gui RUN_SERIAL TRUE
  ENVIRONMENT "QUILLET_BUILD_DIR=${CMAKE_BINARY_DIR};QUILLET_THEMES=off")

# Wheel and auto-scroll: they set the system's wheel lines, move the
# pointer and add (and remove) entries of the mouse driver's list.
quillet_add_test(controls_wheel_tests GUI SOURCES
  ${CMAKE_SOURCE_DIR}/tests/controls/wheel_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/controls/autoscroll_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/controls/wheel_exceptions_test.cpp
  ${CONTROLS_TEST_SUPPORT})
set_tests_properties(controls_wheel_tests PROPERTIES RUN_SERIAL TRUE)

# The slider arithmetic shared by the fader, trackbar and spinner (no export
# reaches it directly).
quillet_add_test(controls_slider_internal_tests INTERNAL SOURCES
  ${CMAKE_SOURCE_DIR}/tests/controls/slider_internal_test.cpp)

# The fader, as a window and as an instance in a host window.
quillet_add_test(controls_fader_tests GUI SOURCES
  ${CMAKE_SOURCE_DIR}/tests/controls/fader_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/controls/fader_paint_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/controls/fader_test_support.cpp
  ${CONTROLS_TEST_SUPPORT})
target_include_directories(controls_fader_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/controls)
# It moves the pointer.
set_tests_properties(controls_fader_tests PROPERTIES RUN_SERIAL TRUE)

# The trackbar and the spinner, as windows and as instances in a host window;
# the spinner also in a dialog with an edit control as its buddy, once with
# Wine's theme and once with visual styles off (its pictures carry the
# run's name).
quillet_add_test(controls_trackbar_tests GUI SOURCES
  ${CMAKE_SOURCE_DIR}/tests/controls/trackbar_test.cpp ${CONTROLS_TEST_SUPPORT} LIBS comctl32)
target_include_directories(controls_trackbar_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/controls)
# It moves the pointer.
set_tests_properties(controls_trackbar_tests PROPERTIES RUN_SERIAL TRUE)
add_test(NAME controls_trackbar_classic_tests
         COMMAND ${CMAKE_SOURCE_DIR}/tests/controls/run-unthemed ${QUILLET_WINE_RUN}
                 --timeout 110 $<TARGET_FILE:controls_trackbar_tests>)
set_tests_properties(controls_trackbar_classic_tests PROPERTIES TIMEOUT 120 LABELS gui RUN_SERIAL TRUE
  ENVIRONMENT "QUILLET_BUILD_DIR=${CMAKE_BINARY_DIR};QUILLET_THEMES=off")

quillet_add_test(controls_spinner_tests GUI SOURCES
  ${CMAKE_SOURCE_DIR}/tests/controls/spinner_test.cpp ${CONTROLS_TEST_SUPPORT} LIBS uxtheme)
target_include_directories(controls_spinner_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/controls)
set_tests_properties(controls_spinner_tests PROPERTIES RUN_SERIAL TRUE)
add_test(NAME controls_spinner_classic_tests
         COMMAND ${CMAKE_SOURCE_DIR}/tests/controls/run-unthemed ${QUILLET_WINE_RUN}
                 --timeout 110 $<TARGET_FILE:controls_spinner_tests>)
set_tests_properties(controls_spinner_classic_tests PROPERTIES TIMEOUT 120 LABELS gui RUN_SERIAL TRUE
  ENVIRONMENT "QUILLET_BUILD_DIR=${CMAKE_BINARY_DIR};QUILLET_THEMES=off")

# The spreadsheet grid: its class, owner interface and messages against a
# scripted owner; metrics, layout and pictures of every column kind, once
# with Wine's theme and once with visual styles off.
set(GRID_TEST_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/controls/grid_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/controls/grid_view_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/controls/grid_input_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/controls/grid_test_support.cpp
  ${CONTROLS_TEST_SUPPORT})
quillet_add_test(controls_grid_tests GUI SOURCES ${GRID_TEST_SOURCES} LIBS comctl32)
target_include_directories(controls_grid_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/controls)
set_tests_properties(controls_grid_tests PROPERTIES RUN_SERIAL TRUE)
add_test(NAME controls_grid_classic_tests
         COMMAND ${CMAKE_SOURCE_DIR}/tests/controls/run-unthemed ${QUILLET_WINE_RUN}
                 --timeout 110 $<TARGET_FILE:controls_grid_tests>)
set_tests_properties(controls_grid_classic_tests PROPERTIES TIMEOUT 120 LABELS gui RUN_SERIAL TRUE
  ENVIRONMENT "QUILLET_BUILD_DIR=${CMAKE_BINARY_DIR};QUILLET_THEMES=off")

# The per-row instance arrays' size arithmetic (no export reaches it).
quillet_add_test(controls_grid_internal_tests INTERNAL SOURCES
  ${CMAKE_SOURCE_DIR}/tests/controls/grid_internal_test.cpp)
