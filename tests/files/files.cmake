# A tree with a symbolic link made from the Linux side, the files tests
# under Wine, then the Linux-side check of what they left.
quillet_add_test(files_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/files/files_test.cpp)
add_test(NAME files_links_setup COMMAND ${CMAKE_SOURCE_DIR}/tests/files/files_links_setup.sh ${CMAKE_BINARY_DIR})
add_test(NAME files_linux_check COMMAND ${CMAKE_SOURCE_DIR}/tests/files/files_linux_check.sh ${CMAKE_BINARY_DIR})
set_tests_properties(files_links_setup PROPERTIES FIXTURES_SETUP files_links)
set_tests_properties(files_tests PROPERTIES FIXTURES_REQUIRED files_links FIXTURES_SETUP files_left)
set_tests_properties(files_linux_check PROPERTIES FIXTURES_REQUIRED files_left)
