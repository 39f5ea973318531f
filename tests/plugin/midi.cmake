# The MIDI vocabulary and event texts: no export reaches them yet, so the
# tests link the static library and carry the module's MIDI string table
# themselves. The German test loads quillet.lng built beside the module.
quillet_add_test(plugin_midi_tests INTERNAL SOURCES
  ${CMAKE_SOURCE_DIR}/tests/plugin/midi_test_support.cpp
  ${CMAKE_SOURCE_DIR}/tests/plugin/midi_names_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/plugin/midi_describe_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/plugin/midi_meta_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/plugin/midi_bounds_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/plugin/midi_time_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/plugin/midi_lang_test.cpp
  ${CMAKE_SOURCE_DIR}/src/plugin/midi.rc
  LIBS hostkit)
target_include_directories(plugin_midi_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/plugin)
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/plugin/midi.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/src/plugin/midi_ids.h)
add_dependencies(plugin_midi_tests quillet_lng)
