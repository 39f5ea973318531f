# quillet_version_header(DIR major minor patch): writes DIR/quillet_version.h
# (with cmake/version_info.rc beside it on the include path of resource
# scripts that add DIR).
function(quillet_version_header dir major minor patch)
  set(QUILLET_STAMP_MAJOR ${major})
  set(QUILLET_STAMP_MINOR ${minor})
  set(QUILLET_STAMP_PATCH ${patch})
  configure_file(${CMAKE_SOURCE_DIR}/cmake/version.h.in ${dir}/quillet_version.h @ONLY)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/version_info.rc ${dir}/version_info.rc COPYONLY)
endfunction()

set(QUILLET_VERSION_DIR ${CMAKE_BINARY_DIR}/version)
quillet_version_header(${QUILLET_VERSION_DIR} ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} ${PROJECT_VERSION_PATCH})
set(QUILLET_VERSION_FILES ${QUILLET_VERSION_DIR}/quillet_version.h ${QUILLET_VERSION_DIR}/version_info.rc)
