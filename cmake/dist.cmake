# The reference (make docs), the installer and the SDK (make dist), all in
# build/docs and build/dist.
find_program(QUILLET_DOXYGEN doxygen REQUIRED)
find_program(QUILLET_MAKENSIS makensis REQUIRED)

# ---- reference: Doxygen HTML from the public headers; any warning fails it
set(QUILLET_DOCS_DIR ${CMAKE_BINARY_DIR}/docs)
set(QUILLET_DOCS_EXTRACT_ALL NO)
configure_file(${CMAKE_SOURCE_DIR}/dist/Doxyfile.in ${QUILLET_DOCS_DIR}/Doxyfile @ONLY)
file(GLOB_RECURSE QUILLET_PUBLIC_HEADERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/include/*.h)
set(QUILLET_REFERENCE ${QUILLET_DOCS_DIR}/html/index.html)
add_custom_command(OUTPUT ${QUILLET_REFERENCE}
  COMMAND ${CMAKE_COMMAND} -DDOXYGEN=${QUILLET_DOXYGEN} -DDOCS=${QUILLET_DOCS_DIR}
          -P ${CMAKE_SOURCE_DIR}/cmake/doxygen.cmake
  DEPENDS ${QUILLET_PUBLIC_HEADERS} ${QUILLET_DOCS_DIR}/Doxyfile ${CMAKE_SOURCE_DIR}/cmake/doxygen.cmake
  COMMENT "Reference: Doxygen HTML in ${QUILLET_DOCS_DIR}/html" VERBATIM)
add_custom_target(docs ALL DEPENDS ${QUILLET_REFERENCE})

# ---- installer
# quillet_installer(OUTPUT setup.exe VERSION x.y.z DLL quillet.dll [DEPENDS targets...])
#   Stages the DLL and the language module beside it and builds the NSIS installer.
set(QUILLET_DIST_DIR ${CMAKE_BINARY_DIR}/dist)
function(quillet_installer)
  cmake_parse_arguments(I "" "OUTPUT;VERSION;DLL" "DEPENDS" ${ARGN})
  get_filename_component(name ${I_OUTPUT} NAME_WLE)
  get_filename_component(dir ${I_OUTPUT} DIRECTORY)
  set(stage ${dir}/${name}.stage)
  add_custom_command(OUTPUT ${I_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
    COMMAND ${CMAKE_COMMAND} -E copy ${I_DLL} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/quillet.lng ${stage}
    COMMAND ${QUILLET_MAKENSIS} -V2 -DVERSION=${I_VERSION} -DSTAGE=${stage} -DOUTFILE=${I_OUTPUT}
            ${CMAKE_SOURCE_DIR}/dist/quillet.nsi
    DEPENDS ${I_DLL} ${I_DEPENDS} quillet_lng ${CMAKE_SOURCE_DIR}/dist/quillet.nsi
    COMMENT "Installer ${I_OUTPUT}" VERBATIM)
endfunction()

set(QUILLET_SETUP ${QUILLET_DIST_DIR}/quillet-setup-${PROJECT_VERSION}.exe)
quillet_installer(OUTPUT ${QUILLET_SETUP} VERSION ${PROJECT_VERSION} DLL $<TARGET_FILE:quillet> DEPENDS quillet)

# ---- SDK: headers, import library, .def, binaries, the sample host with
# its source, the getting-started page and the reference, in one zip
set(QUILLET_SDK ${QUILLET_DIST_DIR}/quillet-sdk-${PROJECT_VERSION}.zip)
file(GLOB QUILLET_SDK_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/dist/sdk/*
     ${CMAKE_SOURCE_DIR}/tools/quillet-host/* ${CMAKE_SOURCE_DIR}/hostkit/*)
add_custom_command(OUTPUT ${QUILLET_SDK}
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR} -DBINARY=${CMAKE_BINARY_DIR}
          -DVERSION=${PROJECT_VERSION} -DVERSION_DIR=${QUILLET_VERSION_DIR}
          -DDEF=${QUILLET_DEF} -DIMPLIB=${QUILLET_IMPLIB} -DDLL=$<TARGET_FILE:quillet>
          -DHOST=$<TARGET_FILE:quillet-host> -DDOCS=${QUILLET_DOCS_DIR}/html -DOUT=${QUILLET_SDK}
          -P ${CMAKE_SOURCE_DIR}/cmake/sdk.cmake
  DEPENDS ${QUILLET_REFERENCE} ${QUILLET_IMPLIB} quillet quillet_lng quillet-host
          ${QUILLET_PUBLIC_HEADERS} ${QUILLET_SDK_SOURCES} ${CMAKE_SOURCE_DIR}/cmake/sdk.cmake
  COMMENT "SDK ${QUILLET_SDK}" VERBATIM)

add_custom_target(dist ALL DEPENDS ${QUILLET_SETUP} ${QUILLET_SDK})
