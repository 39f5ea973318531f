quillet_add_test(core_runtime_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/core/runtime_test.cpp)
quillet_add_test(core_list_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/core/list_test.cpp)
quillet_add_test(core_runtime_internal_tests INTERNAL SOURCES ${CMAKE_SOURCE_DIR}/tests/core/runtime_internal_test.cpp)
