add_executable(demo-song ${CMAKE_CURRENT_LIST_DIR}/main.cpp
  ${CMAKE_SOURCE_DIR}/tools/quillet-host/smf_write.cpp)
target_include_directories(demo-song PRIVATE ${CMAKE_SOURCE_DIR}/tools/quillet-host)
