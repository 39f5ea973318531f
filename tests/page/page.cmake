# The property page: in the platform's property frame through the module's
# COM classes, and its window-less parts against the static library.
quillet_add_test(page_tests GUI SOURCES ${CMAKE_SOURCE_DIR}/tests/page/page_test.cpp LIBS hostkit comctl32 oleaut32)
target_include_directories(page_tests PRIVATE ${CMAKE_SOURCE_DIR}/src)
set_tests_properties(page_tests PROPERTIES RESOURCE_LOCK module_registration)
# The page's strings come with the test: the static library has no resources.
quillet_add_test(page_internal_tests INTERNAL SOURCES ${CMAKE_SOURCE_DIR}/tests/page/page_internal_test.cpp
  ${CMAKE_SOURCE_DIR}/src/page/page.rc LIBS hostkit)
target_include_directories(page_internal_tests PRIVATE ${CMAKE_SOURCE_DIR}/src)
