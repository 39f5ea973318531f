# Error handler: texts, translations, details, dumps and exception reports
# through the module's exports; the registered tables in a process of their
# own (registrations last as long as the module); the show step replaced by
# a recording hook (internal); the real boxes, answered by a hook.
quillet_add_test(errors_tests SOURCES
  ${CMAKE_SOURCE_DIR}/tests/errors/error_texts_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/errors/error_details_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/errors/error_dumps_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/errors/error_exception_test.cpp)
quillet_add_test(errors_tables_tests SOURCES
  ${CMAKE_SOURCE_DIR}/tests/errors/error_tables_test.cpp)
quillet_add_test(errors_show_internal_tests INTERNAL SOURCES
  ${CMAKE_SOURCE_DIR}/tests/errors/error_show_internal_test.cpp
  ${CMAKE_SOURCE_DIR}/src/errors/errors.rc)
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/errors/errors.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/src/errors/errors_ids.h)
quillet_add_test(errors_msgbox_tests GUI SOURCES
  ${CMAKE_SOURCE_DIR}/tests/errors/error_msgbox_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/errors/msgbox_test_support.cpp)
