# Marker glyphs, key-colour masks, recolouring and resource extraction,
# checked pixel by pixel and byte by byte; the eight markers' picture goes
# to build/screenshots/.
set(SKINS_TEST_RC ${CMAKE_SOURCE_DIR}/tests/skins/skins_test.rc)
set_source_files_properties(${SKINS_TEST_RC} PROPERTIES
  OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/tests/skins/skins_test_ids.h)
quillet_add_test(skins_marker_tests GUI SOURCES
  ${CMAKE_SOURCE_DIR}/tests/skins/marker_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/skins/bitmap_mask_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/controls/controls_test_support.cpp
  ${SKINS_TEST_RC})
target_include_directories(skins_marker_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/skins ${CMAKE_SOURCE_DIR}/tests/controls)
