# PNG: reference pixels from ImageMagick first, then the test under Wine,
# then pngcheck and ImageMagick on the files it saved.
set(PNGSUITE ${CMAKE_BINARY_DIR}/deps/src/libpng/contrib/pngsuite)
configure_file(${CMAKE_SOURCE_DIR}/tests/dib/png_test.rc.in ${CMAKE_BINARY_DIR}/png_test.rc @ONLY)
quillet_add_test(dib_png_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/dib/png_test.cpp ${CMAKE_BINARY_DIR}/png_test.rc
                 LIBS psapi png_static)
add_test(NAME dib_png_reference COMMAND ${CMAKE_SOURCE_DIR}/tests/dib/png_reference.sh ${CMAKE_BINARY_DIR})
add_test(NAME dib_png_saved_check COMMAND ${CMAKE_SOURCE_DIR}/tests/dib/png_saved_check.sh ${CMAKE_BINARY_DIR})
set_tests_properties(dib_png_reference PROPERTIES FIXTURES_SETUP png_reference)
set_tests_properties(dib_png_tests PROPERTIES FIXTURES_REQUIRED png_reference FIXTURES_SETUP png_saved)
set_tests_properties(dib_png_saved_check PROPERTIES FIXTURES_REQUIRED png_saved)
