quillet_add_test(plugin_module_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/plugin/module_test.cpp)
