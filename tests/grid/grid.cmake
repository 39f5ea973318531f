# The spreadsheet grid: its class, owner interface and messages against a
# scripted owner; metrics, layout and pictures of every column kind, once
# with Wine's theme and once with visual styles off.
set(GRID_TEST_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/grid/grid_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/grid/grid_view_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/grid/grid_input_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/grid/grid_test_support.cpp)
quillet_add_test(grid_tests GUI SOURCES ${GRID_TEST_SOURCES} LIBS comctl32)
target_include_directories(grid_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/grid)
set_tests_properties(grid_tests PROPERTIES RUN_SERIAL TRUE)
add_test(NAME grid_classic_tests
         COMMAND ${CMAKE_SOURCE_DIR}/tests/support/run-unthemed ${QUILLET_WINE_RUN}
                 --timeout 110 $<TARGET_FILE:grid_tests>)
set_tests_properties(grid_classic_tests PROPERTIES TIMEOUT 120 LABELS gui RUN_SERIAL TRUE
  ENVIRONMENT "QUILLET_BUILD_DIR=${CMAKE_BINARY_DIR};QUILLET_THEMES=off")

# The per-row instance arrays' size arithmetic (no export reaches it).
quillet_add_test(grid_internal_tests INTERNAL SOURCES
  ${CMAKE_SOURCE_DIR}/tests/grid/grid_internal_test.cpp)
