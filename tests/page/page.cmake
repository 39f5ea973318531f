# The property page: in the platform's property frame through the module's
# COM classes, and its window-less parts against the static library.
quillet_add_test(page_tests GUI SOURCES ${CMAKE_SOURCE_DIR}/tests/page/page_test.cpp LIBS hostkit comctl32 oleaut32)
target_include_directories(page_tests PRIVATE ${CMAKE_SOURCE_DIR}/src)
set_tests_properties(page_tests PROPERTIES RESOURCE_LOCK module_registration)
# The page's strings come with the test: the static library has no resources.
quillet_add_test(page_internal_tests INTERNAL SOURCES ${CMAKE_SOURCE_DIR}/tests/page/page_internal_test.cpp
  ${CMAKE_SOURCE_DIR}/src/page/page.rc LIBS hostkit)
target_include_directories(page_internal_tests PRIVATE ${CMAKE_SOURCE_DIR}/src)
# The page as a user meets it in quillet-host --edit: real mouse and
# keyboard input from outside the process (xdotool), the written song read
# back by midicsv; OK keeps the edits, Cancel, Escape and the close box
# write nothing.
add_test(NAME page_real_input_tests
         COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/page/page_real_input_test.py ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
set_tests_properties(page_real_input_tests PROPERTIES TIMEOUT 300 LABELS gui RUN_SERIAL TRUE)
