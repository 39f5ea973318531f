# No folder of the module includes a header of a folder above it.
add_test(NAME layers_include_tests
         COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/layers/check_layers.py ${CMAKE_SOURCE_DIR})
