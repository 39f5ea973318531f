file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
add_executable(quillet_bench ${BENCH_SOURCES}
  ${CMAKE_SOURCE_DIR}/tools/quillet-host/smf_read.cpp ${CMAKE_SOURCE_DIR}/tools/quillet-host/smf_write.cpp)
target_include_directories(quillet_bench PRIVATE ${CMAKE_SOURCE_DIR}/bench ${CMAKE_SOURCE_DIR}/tools/quillet-host)
target_link_libraries(quillet_bench PRIVATE quillet_import hostkit)
add_dependencies(quillet_bench quillet quillet-host)

# pixman for the image benchmarks, when scripts/bench-peers has built it.
set(QUILLET_PIXMAN ${CMAKE_BINARY_DIR}/peers/pixman)
if(EXISTS ${QUILLET_PIXMAN}/lib/libpixman-1.a)
  add_library(pixman_peer STATIC IMPORTED)
  set_target_properties(pixman_peer PROPERTIES IMPORTED_LOCATION ${QUILLET_PIXMAN}/lib/libpixman-1.a
                        INTERFACE_INCLUDE_DIRECTORIES ${QUILLET_PIXMAN}/include/pixman-1)
  target_link_libraries(quillet_bench PRIVATE pixman_peer)
  target_compile_definitions(quillet_bench PRIVATE QUILLET_HAVE_PIXMAN)
endif()
