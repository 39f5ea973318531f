# The slider arithmetic shared by the fader, trackbar and spinner (no export
# reaches it directly).
quillet_add_test(sliders_internal_tests INTERNAL SOURCES
  ${CMAKE_SOURCE_DIR}/tests/sliders/slider_internal_test.cpp)

# The fader, as a window and as an instance in a host window.
quillet_add_test(sliders_fader_tests GUI SOURCES
  ${CMAKE_SOURCE_DIR}/tests/sliders/fader_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/sliders/fader_paint_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/sliders/fader_test_support.cpp)
target_include_directories(sliders_fader_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/sliders)
# It moves the pointer.
set_tests_properties(sliders_fader_tests PROPERTIES RUN_SERIAL TRUE)

# The trackbar and the spinner, as windows and as instances in a host window;
# the spinner also in a dialog with an edit control as its buddy, once with
# Wine's theme and once with visual styles off (its pictures carry the
# run's name).
quillet_add_test(sliders_trackbar_tests GUI SOURCES
  ${CMAKE_SOURCE_DIR}/tests/sliders/trackbar_test.cpp LIBS comctl32)
target_include_directories(sliders_trackbar_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/sliders)
# It moves the pointer.
set_tests_properties(sliders_trackbar_tests PROPERTIES RUN_SERIAL TRUE)
add_test(NAME sliders_trackbar_classic_tests
         COMMAND ${CMAKE_SOURCE_DIR}/tests/support/run-unthemed ${QUILLET_WINE_RUN}
                 --timeout 110 $<TARGET_FILE:sliders_trackbar_tests>)
set_tests_properties(sliders_trackbar_classic_tests PROPERTIES TIMEOUT 120 LABELS gui RUN_SERIAL TRUE
  ENVIRONMENT "QUILLET_BUILD_DIR=${CMAKE_BINARY_DIR};QUILLET_THEMES=off")

quillet_add_test(sliders_spinner_tests GUI SOURCES
  ${CMAKE_SOURCE_DIR}/tests/sliders/spinner_test.cpp LIBS uxtheme)
target_include_directories(sliders_spinner_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/sliders)
set_tests_properties(sliders_spinner_tests PROPERTIES RUN_SERIAL TRUE)
add_test(NAME sliders_spinner_classic_tests
         COMMAND ${CMAKE_SOURCE_DIR}/tests/support/run-unthemed ${QUILLET_WINE_RUN}
                 --timeout 110 $<TARGET_FILE:sliders_spinner_tests>)
set_tests_properties(sliders_spinner_classic_tests PROPERTIES TIMEOUT 120 LABELS gui RUN_SERIAL TRUE
  ENVIRONMENT "QUILLET_BUILD_DIR=${CMAKE_BINARY_DIR};QUILLET_THEMES=off")
