quillet_add_test(help_tests INTERNAL GUI SOURCES ${CMAKE_SOURCE_DIR}/tests/skins/help_internal_test.cpp LIBS comctl32)
set_tests_properties(help_tests PROPERTIES RESOURCE_LOCK shared_information_key)
