quillet_add_test(dib_filter_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/dib/dib_filter_test.cpp)
