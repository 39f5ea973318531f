quillet_add_test(plugin_module_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/plugin/module_test.cpp)
quillet_add_test(plugin_filter_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/plugin/filter_test.cpp LIBS hostkit)
quillet_add_test(plugin_com_rules_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/plugin/com_rules_test.cpp)
# These suites register and unregister the module.
set_tests_properties(plugin_module_tests plugin_filter_tests plugin_com_rules_tests
                     PROPERTIES RESOURCE_LOCK module_registration)
quillet_add_test(plugin_filter_internal_tests INTERNAL SOURCES ${CMAKE_SOURCE_DIR}/tests/plugin/filter_internal_test.cpp LIBS hostkit)
