quillet_add_test(text_smpte_tests SOURCES
  ${CMAKE_SOURCE_DIR}/tests/text/smpte_test.cpp)
quillet_add_test(text_time_internal_tests INTERNAL SOURCES
  ${CMAKE_SOURCE_DIR}/tests/text/time_text_test.cpp)
quillet_add_test(text_time_exports_tests SOURCES
  ${CMAKE_SOURCE_DIR}/tests/text/time_exports_test.cpp)
