add_executable(quillet-host
  ${CMAKE_CURRENT_LIST_DIR}/main.cpp ${CMAKE_CURRENT_LIST_DIR}/options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/player.cpp ${CMAKE_CURRENT_LIST_DIR}/song_events.cpp
  ${CMAKE_CURRENT_LIST_DIR}/event_kinds.cpp ${CMAKE_CURRENT_LIST_DIR}/smf_read.cpp
  ${CMAKE_CURRENT_LIST_DIR}/smf_write.cpp ${CMAKE_CURRENT_LIST_DIR}/page_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/stage_clock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/quillet-host.rc)
target_include_directories(quillet-host PRIVATE ${CMAKE_CURRENT_LIST_DIR} ${QUILLET_VERSION_DIR})
target_link_libraries(quillet-host PRIVATE hostkit ole32 oleaut32 uuid shell32 comctl32 psapi)
set_target_properties(quillet-host PROPERTIES OUTPUT_NAME quillet-host)
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/quillet-host.rc PROPERTIES OBJECT_DEPENDS "${QUILLET_VERSION_FILES}")
add_dependencies(quillet-host quillet)
# Songs of tens of millions of events: the plug-in keeps its own copy of
# every event, so the tool takes the whole 32-bit address space it can get.
target_link_options(quillet-host PRIVATE -Wl,--large-address-aware)
