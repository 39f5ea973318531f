quillet_add_test(dib_copy_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/dib/dib_copy_test.cpp)
quillet_add_test(dib_pixels_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/dib/dib_pixels_test.cpp)
quillet_add_test(dib_regions_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/dib/dib_regions_test.cpp)
quillet_add_test(dib_gdi_tests GUI SOURCES ${CMAKE_SOURCE_DIR}/tests/dib/dib_gdi_test.cpp)
