# The distribution: the version stamped into every binary, the installer in
# a Wine prefix of its own, and the SDK as a caller unpacks and uses it.
quillet_add_test(dist_version_tests SOURCES ${CMAKE_SOURCE_DIR}/tests/dist/version_test.cpp LIBS version)
target_compile_definitions(dist_version_tests PRIVATE
  QUILLET_EXPECTED_VERSION=L"${PROJECT_VERSION}"
  QUILLET_EXPECTED_MAJOR=${PROJECT_VERSION_MAJOR} QUILLET_EXPECTED_MINOR=${PROJECT_VERSION_MINOR}
  QUILLET_EXPECTED_PATCH=${PROJECT_VERSION_PATCH})
add_dependencies(dist_version_tests quillet-host quillet_lng)

# The installer test upgrades over an older build (the same module stamped
# 0.9.0) and tries an installer whose module cannot register.
set(QUILLET_INSTALLER_TEST_DIR ${CMAKE_BINARY_DIR}/installer-test)
quillet_version_header(${QUILLET_INSTALLER_TEST_DIR}/version-older 0 9 0)
add_library(quillet_older SHARED src/module/dll_main.cpp ${QUILLET_RC} ${QUILLET_DEF})
set_target_properties(quillet_older PROPERTIES PREFIX "" OUTPUT_NAME quillet
                      RUNTIME_OUTPUT_DIRECTORY ${QUILLET_INSTALLER_TEST_DIR}/older
                      ARCHIVE_OUTPUT_DIRECTORY ${QUILLET_INSTALLER_TEST_DIR}/older-implib)
target_link_libraries(quillet_older PRIVATE quillet_static)
target_link_options(quillet_older PRIVATE -Wl,--kill-at -Wl,--enable-stdcall-fixup)
target_include_directories(quillet_older PRIVATE ${CMAKE_SOURCE_DIR}/include ${CMAKE_SOURCE_DIR}/src
                           ${QUILLET_INSTALLER_TEST_DIR}/version-older)
add_dependencies(quillet_older quillet_ui_resources)
quillet_installer(OUTPUT ${QUILLET_INSTALLER_TEST_DIR}/quillet-setup-0.9.0.exe VERSION 0.9.0
                  DLL $<TARGET_FILE:quillet_older> DEPENDS quillet_older)
file(WRITE ${QUILLET_INSTALLER_TEST_DIR}/broken/quillet.dll "not a module\n")
quillet_installer(OUTPUT ${QUILLET_INSTALLER_TEST_DIR}/quillet-setup-broken.exe VERSION ${PROJECT_VERSION}
                  DLL ${QUILLET_INSTALLER_TEST_DIR}/broken/quillet.dll)
add_custom_target(installer_test_setups ALL DEPENDS ${QUILLET_INSTALLER_TEST_DIR}/quillet-setup-0.9.0.exe
                  ${QUILLET_INSTALLER_TEST_DIR}/quillet-setup-broken.exe)

add_test(NAME dist_installer_tests
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/dist/installer_test.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
set_tests_properties(dist_installer_tests PROPERTIES TIMEOUT 300)

add_test(NAME dist_sdk_tests
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/dist/sdk_test.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
set_tests_properties(dist_sdk_tests PROPERTIES TIMEOUT 300 ENVIRONMENT "QUILLET_BUILD_DIR=${CMAKE_BINARY_DIR}")
