// Resources of the language tests: the test program carries the English
// ones, its language module lang_tests.lng the German ones.
#pragma once

// Strings. 102 and 116 exist only in the program, 105 only in the language module.
#define IDS_T_HELLO        100
#define IDS_T_OPEN         101
#define IDS_T_MODULE_ONLY  102
#define IDS_T_TAB          103
#define IDS_T_CARET        104
#define IDS_T_LNG_ONLY     105
#define IDS_T_LONG         106
#define IDS_T_OTHER_BLOCK  116

// Dialogs: 200 in both, 201 only in the program.
#define IDD_T_BOTH         200
#define IDD_T_MODULE_ONLY  201
#define IDC_T_TEXT         1001

// Menus: 300 in both (markers), 310 only in the program.
#define IDM_T_MARKERS      300
#define IDM_T_OPEN         301
#define IDM_T_SAVE         302
#define IDM_T_FIRST        303
#define IDM_T_EXIT         304
#define IDM_T_TOP          305
#define IDM_T_EDIT_MENU    310
#define IDM_T_CUT          311
#define IDM_T_COPY         312
#define IDM_T_ONLY         313
#define IDM_T_PASTE        314
#define IDM_T_ABOUT        321
#define IDM_T_SURE         322
#define IDM_T_DEEPER       323
#define IDM_T_BOTTOM       324
#define IDM_T_ZOOM         325
#define IDM_T_LONELY       331

// Accelerators in both; data: 500 in both, 501 only in the program,
// 502 as RCDATA in the program and as ZQDATA in the language module.
#define IDA_T_KEYS         400
#define IDR_T_BOTH         500
#define IDR_T_MODULE_ONLY  501
#define IDR_T_TYPES        502
