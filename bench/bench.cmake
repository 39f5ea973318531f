file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
add_executable(quillet_bench ${BENCH_SOURCES}
  ${CMAKE_SOURCE_DIR}/tools/quillet-host/smf_read.cpp ${CMAKE_SOURCE_DIR}/tools/quillet-host/smf_write.cpp)
target_include_directories(quillet_bench PRIVATE ${CMAKE_SOURCE_DIR}/bench ${CMAKE_SOURCE_DIR}/tools/quillet-host)
target_link_libraries(quillet_bench PRIVATE quillet_import hostkit psapi)
add_dependencies(quillet_bench quillet quillet-host)
