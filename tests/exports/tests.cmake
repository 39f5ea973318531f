quillet_add_test(export_table_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/exports/export_table_test.cpp)
target_compile_definitions(export_table_tests PRIVATE
  QUILLET_EXPECTED_EXPORTS_DIR="Z:${CMAKE_SOURCE_DIR}/tests/exports/expected")
