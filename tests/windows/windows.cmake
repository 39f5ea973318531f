# Monitors, window placement, dialog conveniences and dialog templates in
# real windows under the display server; the fall-back monitor layer
# against Wine's own through the static library. The templates come from
# dialog scripts compiled by windres (windows_test.rc); pictures go to
# build/screenshots/.
set(WINDOWS_TEST_RC ${CMAKE_SOURCE_DIR}/tests/windows/windows_test.rc)
set_source_files_properties(${WINDOWS_TEST_RC} PROPERTIES
  OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/tests/windows/windows_test_ids.h)

quillet_add_test(windows_dialog_template_tests GUI SOURCES
  ${CMAKE_SOURCE_DIR}/tests/windows/dialog_template_test.cpp ${WINDOWS_TEST_RC})
target_include_directories(windows_dialog_template_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/windows)

# Two monitors side by side come from a stand-in for USER32's monitor
# functions that the layer is bound to (one display server screen is one
# monitor).
add_library(windows_twin_monitors SHARED
  ${CMAKE_SOURCE_DIR}/tests/windows/twin_monitors.cpp ${CMAKE_SOURCE_DIR}/tests/windows/twin_monitors.def)
set_target_properties(windows_twin_monitors PROPERTIES PREFIX "")
target_link_libraries(windows_twin_monitors PRIVATE user32)

quillet_add_test(windows_monitor_internal_tests INTERNAL GUI SOURCES
  ${CMAKE_SOURCE_DIR}/tests/windows/monitor_layer_test.cpp)
add_dependencies(windows_monitor_internal_tests windows_twin_monitors)

quillet_add_test(windows_placement_tests GUI SOURCES
  ${CMAKE_SOURCE_DIR}/tests/windows/placement_test.cpp)
# It moves the mouse pointer.
set_tests_properties(windows_placement_tests PROPERTIES RUN_SERIAL TRUE)

quillet_add_test(windows_dialog_helpers_tests GUI SOURCES
  ${CMAKE_SOURCE_DIR}/tests/windows/dialog_helpers_test.cpp LIBS comctl32 ole32)
# Window placement and dialog conveniences, in real windows.
quillet_add_test(windows_dialog_tests GUI SOURCES ${CMAKE_SOURCE_DIR}/tests/windows/dialog_layout_test.cpp)
