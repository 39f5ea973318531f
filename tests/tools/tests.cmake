quillet_add_test(tool_host_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/tools/host_tool_test.cpp)
target_compile_definitions(tool_host_tests PRIVATE QUILLET_DEMO_SONG=L"Z:${CMAKE_SOURCE_DIR}/demo/demo-song.mid")
add_dependencies(tool_host_tests quillet-host)
set_tests_properties(tool_host_tests PROPERTIES RESOURCE_LOCK module_registration)
quillet_add_test(tool_smf_read_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/tools/smf_read_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/tools/pitch_shift_test.cpp ${CMAKE_SOURCE_DIR}/tools/quillet-host/song_events.cpp
  ${CMAKE_SOURCE_DIR}/tools/quillet-host/smf_read.cpp ${CMAKE_SOURCE_DIR}/tools/quillet-host/smf_write.cpp)
target_include_directories(tool_smf_read_tests PRIVATE ${CMAKE_SOURCE_DIR}/tools/quillet-host)
target_compile_definitions(tool_smf_read_tests PRIVATE QUILLET_DEMO_SONG=L"Z:${CMAKE_SOURCE_DIR}/demo/demo-song.mid")
# Real songs from Debian packages, read back by midicsv (a reader of its own).
add_test(NAME tool_song_corpus_tests
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/tools/song_corpus_test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(tool_song_corpus_tests PROPERTIES TIMEOUT 900
                     ENVIRONMENT "QUILLET_BUILD_DIR=${CMAKE_BINARY_DIR}")
quillet_add_test(tool_hostkit_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/tools/hostkit_store_test.cpp LIBS hostkit)
