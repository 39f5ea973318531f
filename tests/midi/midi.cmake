# The MIDI vocabulary and event texts: no export reaches them yet, so the
# tests link the static library and carry the module's MIDI string table
# themselves. The German test loads quillet.lng built beside the module.
quillet_add_test(midi_tests INTERNAL SOURCES
  ${CMAKE_SOURCE_DIR}/tests/midi/midi_test_support.cpp
  ${CMAKE_SOURCE_DIR}/tests/midi/midi_names_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/midi/midi_describe_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/midi/midi_meta_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/midi/midi_bounds_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/midi/midi_time_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/midi/midi_lang_test.cpp
  ${CMAKE_SOURCE_DIR}/src/midi/midi.rc
  LIBS hostkit)
target_include_directories(midi_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/midi)
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/midi/midi.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/src/midi/midi_ids.h)
add_dependencies(midi_tests quillet_lng)
