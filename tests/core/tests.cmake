quillet_add_test(core_runtime_tests SOURCES
  ${CMAKE_SOURCE_DIR}/tests/core/runtime_test.cpp)
