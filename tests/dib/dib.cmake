quillet_add_test(dib_copy_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/dib/dib_copy_test.cpp)
quillet_add_test(dib_pixels_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/dib/dib_pixels_test.cpp)
quillet_add_test(dib_regions_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/dib/dib_regions_test.cpp)
quillet_add_test(dib_gdi_tests GUI SOURCES ${CMAKE_SOURCE_DIR}/tests/dib/dib_gdi_test.cpp)
quillet_add_test(dib_kernels_internal_tests INTERNAL SOURCES ${CMAKE_SOURCE_DIR}/tests/dib/dib_kernels_internal_test.cpp)
quillet_add_test(dib_scale_internal_tests INTERNAL SOURCES ${CMAKE_SOURCE_DIR}/tests/dib/dib_scale_internal_test.cpp)

# ImageMagick's Catmull-Rom resize as the oracle of the bicubic scaler: a
# seeded plasma picture and its 1.5x and 2.5x enlargements, made on the
# build machine.
find_program(QUILLET_IMAGEMAGICK NAMES convert-im6.q16 convert REQUIRED)
set(DIB_REFERENCE ${CMAKE_BINARY_DIR}/dib-reference)
add_custom_command(OUTPUT ${DIB_REFERENCE}/plasma.ppm ${DIB_REFERENCE}/catrom-36x24.ppm ${DIB_REFERENCE}/catrom-60x40.ppm
  COMMAND ${CMAKE_COMMAND} -E make_directory ${DIB_REFERENCE}
  COMMAND ${QUILLET_IMAGEMAGICK} -seed 7 -size 24x16 plasma: -depth 8 ${DIB_REFERENCE}/plasma.ppm
  COMMAND ${QUILLET_IMAGEMAGICK} ${DIB_REFERENCE}/plasma.ppm -filter Catrom -resize 36x24! -depth 8
          ${DIB_REFERENCE}/catrom-36x24.ppm
  COMMAND ${QUILLET_IMAGEMAGICK} ${DIB_REFERENCE}/plasma.ppm -filter Catrom -resize 60x40! -depth 8
          ${DIB_REFERENCE}/catrom-60x40.ppm
  COMMENT "ImageMagick reference enlargements" VERBATIM)
add_custom_target(dib_reference ALL DEPENDS ${DIB_REFERENCE}/plasma.ppm ${DIB_REFERENCE}/catrom-36x24.ppm
                  ${DIB_REFERENCE}/catrom-60x40.ppm)
quillet_add_test(dib_magick_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/dib/dib_magick_test.cpp)
add_dependencies(dib_magick_tests dib_reference)
target_compile_definitions(dib_magick_tests PRIVATE QUILLET_DIB_REFERENCE_DIR="Z:${DIB_REFERENCE}")

quillet_add_test(dib_compose_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/dib/compose_test.cpp LIBS ole32)
quillet_add_test(dib_compose_internal_tests INTERNAL SOURCES ${CMAKE_SOURCE_DIR}/tests/dib/compose_internal_test.cpp)

# Python's colorsys and a plain-Python model of the broadcast-safe checks
# as the references of the colour tests, made on the build machine.
find_program(QUILLET_PYTHON NAMES python3 REQUIRED)
add_custom_command(OUTPUT ${DIB_REFERENCE}/colour.txt
  COMMAND ${CMAKE_COMMAND} -E make_directory ${DIB_REFERENCE}
  COMMAND ${QUILLET_PYTHON} ${CMAKE_SOURCE_DIR}/tests/dib/colour_reference.py ${DIB_REFERENCE}/colour.txt
  DEPENDS ${CMAKE_SOURCE_DIR}/tests/dib/colour_reference.py
  COMMENT "colorsys and broadcast-safe references" VERBATIM)
add_custom_target(colour_reference ALL DEPENDS ${DIB_REFERENCE}/colour.txt)
quillet_add_test(dib_colour_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/dib/colour_test.cpp)
add_dependencies(dib_colour_tests colour_reference)
target_compile_definitions(dib_colour_tests PRIVATE QUILLET_COLOUR_REFERENCE="Z:${DIB_REFERENCE}/colour.txt")
