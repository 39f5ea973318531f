file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
add_executable(quillet_bench ${BENCH_SOURCES}
  ${CMAKE_SOURCE_DIR}/tools/quillet-host/smf_read.cpp ${CMAKE_SOURCE_DIR}/tools/quillet-host/smf_write.cpp)
target_include_directories(quillet_bench PRIVATE ${CMAKE_SOURCE_DIR}/bench ${CMAKE_SOURCE_DIR}/tools/quillet-host)
target_link_libraries(quillet_bench PRIVATE quillet_import hostkit psapi)
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

# Bare libpng (the one the module links) as the baseline of the PNG benchmark.
target_link_libraries(quillet_bench PRIVATE png_static)
# stb_image_resize for the scaling benchmark (headers of libstb-dev).
if(EXISTS /usr/include/stb/stb_image_resize.h)
  target_include_directories(quillet_bench PRIVATE /usr/include/stb)
  target_compile_definitions(quillet_bench PRIVATE QUILLET_HAVE_STB)
  # Third-party code: built as it is, its warnings are not ours.
  set_source_files_properties(${CMAKE_SOURCE_DIR}/bench/stb_resize_peer.cpp PROPERTIES COMPILE_OPTIONS -w)
endif()
