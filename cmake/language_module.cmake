# Language modules: resource-only DLLs with the extension "lng" that sit
# beside the module whose texts they translate.
#
# quillet_add_language_module(target RC file.rc OUTPUT path.lng [DEPENDS files...])
function(quillet_add_language_module target)
  cmake_parse_arguments(L "" "RC;OUTPUT" "DEPENDS" ${ARGN})
  set(res ${CMAKE_CURRENT_BINARY_DIR}/${target}.res)
  add_custom_command(OUTPUT ${res}
    COMMAND ${CMAKE_RC_COMPILER} -c 65001 -I${CMAKE_SOURCE_DIR}/include -I${CMAKE_SOURCE_DIR}/src
            -I${QUILLET_VERSION_DIR} -i ${L_RC} -O coff -o ${res}
    DEPENDS ${L_RC} ${L_DEPENDS} ${QUILLET_VERSION_FILES}
    COMMENT "Compiling the resources of ${target}" VERBATIM)
  add_custom_command(OUTPUT ${L_OUTPUT}
    COMMAND ${CMAKE_C_COMPILER} -shared -nostdlib -Wl,-e,0 ${res} -o ${L_OUTPUT}
    DEPENDS ${res}
    COMMENT "Linking the language module ${L_OUTPUT}" VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${L_OUTPUT})
endfunction()

# The library's own language module (German), beside quillet.dll.
file(GLOB QUILLET_LNG_HEADERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*/*_ids.h)
quillet_add_language_module(quillet_lng
  RC ${CMAKE_SOURCE_DIR}/src/lng/quillet_lng.rc
  OUTPUT ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/quillet.lng
  DEPENDS ${QUILLET_LNG_HEADERS})
add_dependencies(quillet quillet_lng)
