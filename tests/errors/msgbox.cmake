# Message boxes and window text, through the module's exports, with real
# boxes under the display server: each box is answered by a hook that
# presses its buttons, or by the library's unattended hook; a watchdog
# fails a test whose box is left open. The details test leaves a picture in
# build/screenshots/.
set(MSGBOX_TEST_SUPPORT ${CMAKE_SOURCE_DIR}/tests/errors/msgbox_test_support.cpp)
foreach(part hooks custom system window_text)
  quillet_add_test(msgbox_${part}_tests GUI TIMEOUT 180 SOURCES
    ${CMAKE_SOURCE_DIR}/tests/errors/msgbox_${part}_test.cpp ${MSGBOX_TEST_SUPPORT})
endforeach()
