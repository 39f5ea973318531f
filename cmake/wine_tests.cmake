# GoogleTest for the mingw target, and tests that run under Wine.
enable_testing()
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(QUILLET_WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run)

file(GLOB TEST_SUPPORT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
add_library(test_support STATIC ${TEST_SUPPORT_SOURCES})
target_include_directories(test_support PUBLIC ${CMAKE_SOURCE_DIR}/tests/support ${CMAKE_SOURCE_DIR}/include)
target_link_libraries(test_support PUBLIC GTest::gtest user32 gdi32 advapi32 ole32)

# quillet_add_test(name SOURCES files... [INTERNAL] [GUI] [TIMEOUT s] [LIBS libs...])
#   Tests call the DLL through its import library. INTERNAL links the
#   static library instead (for behaviour no export reaches).
function(quillet_add_test name)
  cmake_parse_arguments(T "INTERNAL;GUI" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE test_support GTest::gtest_main ${T_LIBS})
  if(T_INTERNAL)
    target_link_libraries(${name} PRIVATE quillet_static)
  else()
    target_link_libraries(${name} PRIVATE quillet_import)
    add_dependencies(${name} quillet)
  endif()
  math(EXPR inner "${T_TIMEOUT} - 10")
  add_test(NAME ${name}
           COMMAND ${QUILLET_WINE_RUN} --timeout ${inner} $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
                       ENVIRONMENT "QUILLET_BUILD_DIR=${CMAKE_BINARY_DIR}")
  if(T_GUI)
    set_tests_properties(${name} PROPERTIES LABELS gui)
  endif()
endfunction()
