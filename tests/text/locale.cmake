# The same program in two user locales: Wine takes the user locale from LC_ALL.
quillet_add_test(text_locale_en_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/text/locale_oracle_test.cpp)
set_tests_properties(text_locale_en_tests PROPERTIES ENVIRONMENT
  "QUILLET_BUILD_DIR=${CMAKE_BINARY_DIR};LC_ALL=en_US.UTF-8;QUILLET_EXPECT_LCID=0409")
add_test(NAME text_locale_de_tests
         COMMAND ${QUILLET_WINE_RUN} --timeout 110 $<TARGET_FILE:text_locale_en_tests>)
set_tests_properties(text_locale_de_tests PROPERTIES TIMEOUT 120 ENVIRONMENT
  "QUILLET_BUILD_DIR=${CMAKE_BINARY_DIR};LC_ALL=de_DE.UTF-8;QUILLET_EXPECT_LCID=0407")
