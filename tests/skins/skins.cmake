# Marker glyphs, key-colour masks, recolouring and resource extraction,
# checked pixel by pixel and byte by byte; the eight markers' picture goes
# to build/screenshots/.
set(SKINS_TEST_RC ${CMAKE_SOURCE_DIR}/tests/skins/skins_test.rc)
set_source_files_properties(${SKINS_TEST_RC} PROPERTIES
  OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/tests/skins/skins_test_ids.h)
quillet_add_test(skins_marker_tests GUI SOURCES
  ${CMAKE_SOURCE_DIR}/tests/skins/marker_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/skins/bitmap_mask_test.cpp
  ${SKINS_TEST_RC})
target_include_directories(skins_marker_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/skins)

# Skin strips made by ImageMagick on the build machine: a 160 x 48 PNG with
# alpha, the same picture as a 24-bit BMP with a 40-byte header and as a
# 32-bit BMP with a 124-byte header, and a 32 x 16 PNG for the default
# resource. The test derives the 108-byte header and damaged files from
# the 124-byte one.
set(SKIN_REFERENCE ${CMAKE_BINARY_DIR}/skin-reference)
set(SKIN_FILES ${SKIN_REFERENCE}/strip.png ${SKIN_REFERENCE}/strip40.bmp ${SKIN_REFERENCE}/strip124.bmp
    ${SKIN_REFERENCE}/default.png)
add_custom_command(OUTPUT ${SKIN_FILES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SKIN_REFERENCE}
  COMMAND ${QUILLET_IMAGEMAGICK} -size 160x48 gradient:red-blue ( -size 160x48 gradient:white-black ) -alpha off
          -compose copy_opacity -composite PNG32:${SKIN_REFERENCE}/strip.png
  COMMAND ${QUILLET_IMAGEMAGICK} ${SKIN_REFERENCE}/strip.png -alpha off -type truecolor BMP3:${SKIN_REFERENCE}/strip40.bmp
  COMMAND ${QUILLET_IMAGEMAGICK} ${SKIN_REFERENCE}/strip.png BMP:${SKIN_REFERENCE}/strip124.bmp
  COMMAND ${QUILLET_IMAGEMAGICK} -size 32x16 xc:orange PNG32:${SKIN_REFERENCE}/default.png
  COMMENT "ImageMagick skin strips" VERBATIM)
add_custom_target(skin_reference ALL DEPENDS ${SKIN_FILES})
configure_file(${CMAKE_SOURCE_DIR}/tests/skins/skin_test.rc.in ${CMAKE_BINARY_DIR}/skin_test.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/skin_test.rc PROPERTIES OBJECT_DEPENDS "${SKIN_FILES}")
quillet_add_test(skin_lists_tests GUI SOURCES ${CMAKE_SOURCE_DIR}/tests/skins/skin_test.cpp
                 ${CMAKE_BINARY_DIR}/skin_test.rc LIBS comctl32 gdi32)
add_dependencies(skin_lists_tests skin_reference)
target_compile_definitions(skin_lists_tests PRIVATE QUILLET_SKIN_REFERENCE_DIR="Z:${SKIN_REFERENCE}")
