# Lays out the SDK in BINARY/dist/quillet-sdk-VERSION and zips it into OUT.
set(name quillet-sdk-${VERSION})
set(root ${BINARY}/dist/sdk)
set(sdk ${root}/${name})
file(REMOVE_RECURSE ${root})
file(MAKE_DIRECTORY ${sdk}/bin ${sdk}/lib ${sdk}/samples/quillet-host/hostkit)

file(COPY ${SOURCE}/include DESTINATION ${sdk})
file(COPY ${IMPLIB} DESTINATION ${sdk}/lib)
file(COPY ${DEF} DESTINATION ${sdk}/lib)
file(COPY ${DLL} ${BINARY}/bin/quillet.lng ${HOST} DESTINATION ${sdk}/bin)
file(COPY ${DOCS}/ DESTINATION ${sdk}/reference)
file(GLOB pages ${SOURCE}/dist/sdk/*)
file(COPY ${pages} DESTINATION ${sdk})
configure_file(${sdk}/getting-started.html ${sdk}/getting-started.html @ONLY)

# The sample host: quillet-host as it is built here, with the in-memory host
# it runs on and the version header and resource template it includes.
file(GLOB host_sources ${SOURCE}/tools/quillet-host/*.cpp ${SOURCE}/tools/quillet-host/*.h
     ${SOURCE}/tools/quillet-host/*.rc)
file(COPY ${host_sources} ${VERSION_DIR}/quillet_version.h ${VERSION_DIR}/version_info.rc
     DESTINATION ${sdk}/samples/quillet-host)
file(GLOB hostkit_sources ${SOURCE}/hostkit/*)
file(COPY ${hostkit_sources} DESTINATION ${sdk}/samples/quillet-host/hostkit)

file(REMOVE ${OUT})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${OUT} --format=zip ${name}
                WORKING_DIRECTORY ${root} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "could not write ${OUT}")
endif()
