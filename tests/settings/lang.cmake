# Language handles, localised resources, menus and international settings.
# The test program carries English resources; lang_tests.lng beside it the
# German ones.
quillet_add_test(lang_tests GUI SOURCES
  ${CMAKE_SOURCE_DIR}/tests/settings/lang_handle_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/settings/lang_strings_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/settings/lang_resources_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/settings/lang_menu_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/settings/lang_internationals_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/settings/lang_locale_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/settings/lang_test_support.cpp
  ${CMAKE_SOURCE_DIR}/tests/settings/lang_test.rc)
target_include_directories(lang_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/settings ${CMAKE_SOURCE_DIR}/src)
set_source_files_properties(${CMAKE_SOURCE_DIR}/tests/settings/lang_test.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/tests/settings/lang_test_ids.h)
quillet_add_language_module(lang_tests_lng
  RC ${CMAKE_SOURCE_DIR}/tests/settings/lang_test_lng.rc
  OUTPUT ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/lang_tests.lng
  DEPENDS ${CMAKE_SOURCE_DIR}/tests/settings/lang_test_ids.h)
add_dependencies(lang_tests lang_tests_lng)
# It changes the user locale for a moment: nothing else may start meanwhile.
set_tests_properties(lang_tests PROPERTIES RUN_SERIAL TRUE)
