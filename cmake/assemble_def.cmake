# Joins the subsystems' export-list fragments into the module's .def.
string(REPLACE "|" ";" FRAGMENTS "${FRAGMENTS}")
set(text "LIBRARY quillet.dll\nEXPORTS\n")
foreach(frag ${FRAGMENTS})
  file(READ ${frag} body)
  string(APPEND text "${body}\n")
endforeach()
file(WRITE ${OUT}.tmp "${text}")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${OUT}.tmp ${OUT})
