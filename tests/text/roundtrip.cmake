quillet_add_test(text_number_roundtrip_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/text/number_roundtrip_test.cpp)
