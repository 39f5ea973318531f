quillet_add_test(text_printf_internal_tests INTERNAL SOURCES
  ${CMAKE_SOURCE_DIR}/tests/text/printf_internal_test.cpp)
quillet_add_test(text_number_internal_tests INTERNAL SOURCES
  ${CMAKE_SOURCE_DIR}/tests/text/number_internal_test.cpp)
quillet_add_test(text_exports_tests GUI SOURCES
  ${CMAKE_SOURCE_DIR}/tests/text/text_exports_test.cpp)
quillet_add_test(text_parser_fuzz_tests INTERNAL SOURCES
  ${CMAKE_SOURCE_DIR}/tests/text/parser_fuzz_test.cpp)
