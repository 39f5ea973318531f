# Window placement and dialog conveniences, in real windows.
quillet_add_test(windows_dialog_tests GUI SOURCES ${CMAKE_SOURCE_DIR}/tests/windows/dialog_layout_test.cpp)
