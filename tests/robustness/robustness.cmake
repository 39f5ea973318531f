# Bad input through every family of exports: null pointers, short and
# negative capacities, impossible sizes, lying headers and files, destroyed
# windows. Outputs end at an inaccessible page; a watchdog names a case that
# does not return.
quillet_add_test(robustness_bad_input_tests GUI SOURCES ${CMAKE_SOURCE_DIR}/tests/robustness/bad_input_test.cpp
                 LIBS comctl32)
