# Settings store, registry helpers and self-registration.
quillet_add_test(settings_store_tests SOURCES
  ${CMAKE_SOURCE_DIR}/tests/settings/metric_store_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/settings/metric_limits_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/settings/registry_helpers_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/settings/settings_test_support.cpp)

# The modules the self-registration tests register: 1 declares
# "OLESelfRegister" and has the entry points, 2 has the entry points
# without the declaration, 3 declares it without the entry points.
set(settings_test_modules selfreg plain noentry)
set(settings_test_module_rc selfreg plain selfreg)
set(settings_test_module_targets)
foreach(variant 1 2 3)
  math(EXPR index "${variant} - 1")
  list(GET settings_test_modules ${index} module)
  list(GET settings_test_module_rc ${index} rc)
  set(target settings_${module}_module)
  add_library(${target} SHARED
    ${CMAKE_SOURCE_DIR}/tests/settings/test_module.cpp
    ${CMAKE_SOURCE_DIR}/tests/settings/${rc}_module.rc)
  set_target_properties(${target} PROPERTIES PREFIX "")
  target_compile_definitions(${target} PRIVATE TEST_MODULE_VARIANT=${variant})
  target_link_options(${target} PRIVATE -Wl,--kill-at)
  target_link_libraries(${target} PRIVATE advapi32)
  list(APPEND settings_test_module_targets ${target})
endforeach()

quillet_add_test(settings_self_register_tests SOURCES
  ${CMAKE_SOURCE_DIR}/tests/settings/self_register_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/settings/settings_test_support.cpp)
add_dependencies(settings_self_register_tests ${settings_test_module_targets})
