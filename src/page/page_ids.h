// Resource ids of the property page and its dialogs (src/page/page.rc).
#pragma once

// Dialogs.
#define IDD_PAGE                 1388
#define IDD_EVENT_FILTER         966
#define IDD_QUANTIZE             13

// Page controls.
#define IDC_PAGE_PITCH_LABEL     1234
#define IDC_PAGE_PITCH           1587
#define IDC_PAGE_PITCH_SPIN      1588
#define IDC_PAGE_ROOT_LABEL      1235
#define IDC_PAGE_ROOT            1077
#define IDC_PAGE_META2           1581
#define IDC_PAGE_ATTRIBUTES      1578
#define IDC_PAGE_TEMPO           1582
#define IDC_PAGE_SIZE            1579
#define IDC_PAGE_FILE_NAME       1580
#define IDC_PAGE_LOCATION        1092
#define IDC_PAGE_TRACK_TOOLBAR   1282
#define IDC_PAGE_GRID            1606
#define IDC_PAGE_TRANSPORT       1629
#define IDC_PAGE_TIME            1290

// Event filter dialog and quantize dialog controls.
#define IDC_FILTER_LABEL         1233
#define IDC_FILTER_TREE          1284
#define IDC_QUANTIZE_RESOLUTION  1301
#define IDC_QUANTIZE_START       1302
#define IDC_QUANTIZE_DURATIONS   1303
#define IDC_QUANTIZE_NOTES_ONLY  1304
#define IDC_QUANTIZE_PLAYBACK    1305

// Commands.
#define IDM_PAGE_ADD_TRACK       100
#define IDM_PAGE_DELETE_TRACK    101
#define IDM_PAGE_CHASE_FILTER    102
#define IDM_PAGE_PLAYBACK_FILTER 103
#define IDM_PAGE_QUANTIZE        160
#define IDM_PAGE_PLAY            200
#define IDM_PAGE_STOP            201
#define IDM_PAGE_PLAY_LOOPED     202
#define IDM_PAGE_RECORD          203
#define IDM_PAGE_LOOP            204
#define IDM_PAGE_PLAY_FROM_START 205
#define IDM_PAGE_PAUSE           206
#define IDM_PAGE_GO_TO_START     208

// Strings: host edit captions and quantize resolutions among the MIDI
// vocabulary, then the page's own.
#define IDS_EDIT_DELETE_EVENT    349
#define IDS_EDIT_TRACK           351
#define IDS_EDIT_DELETE_TRACK    352
#define IDS_EDIT_INSERT_TRACK    353
#define IDS_EDIT_INSERT_BLOCK    356
#define IDS_BLOCK_NAME           375
#define IDS_QUANTIZE_FIRST       378  // 378 ... 388, in the order of the string table
#define IDS_PAGE_NUMBER          1003
#define IDS_PAGE_ALL_CHANNELS    1004
#define IDS_PAGE_TITLE           1010
#define IDS_PAGE_COL_CHANNEL     1017
#define IDS_PAGE_COL_MUTE        1022
#define IDS_PAGE_COL_SOLO        1023
#define IDS_PAGE_COL_VOLUME      1024
#define IDS_PAGE_COL_PAN         1025
#define IDS_PAGE_COL_NAME        1026
#define IDS_PAGE_NONE            1027
#define IDS_PAGE_NO_TRANSPOSE    1034
#define IDS_PAGE_ATTRIBUTES      1035
#define IDS_PAGE_KILOBYTES       1038
#define IDS_TIP_DELETE_TRACK     1039
#define IDS_TIP_ADD_TRACK        1040
#define IDS_TIP_CHASE_FILTER     1041
#define IDS_TIP_PLAYBACK_FILTER  1042
#define IDS_TIP_PLAY             1043
#define IDS_TIP_STOP             1044
#define IDS_TIP_PLAY_LOOPED      1045
#define IDS_TIP_RECORD           1046
#define IDS_TIP_PAUSE            1047
#define IDS_TIP_PLAY_FROM_START  1048
#define IDS_TIP_LOOP             1049
#define IDS_RECORD_TRACK_NAME    1050
#define IDS_EDIT_RECORD          1051
#define IDS_TIP_GO_TO_START      1052
#define IDS_FILTER_PACKED_NRPN   1092
#define IDS_FILTER_PACKED_RPN    1093
#define IDS_FILTER_PATCH         1094
#define IDS_FILTER_NOTE          1095
#define IDS_FILTER_POLY_PRESSURE 1096
#define IDS_FILTER_CONTROL       1097
#define IDS_FILTER_AFTER_TOUCH   1098
#define IDS_FILTER_PITCH_BEND    1100
#define IDS_FILTER_SYSEX         1101
#define IDS_NEW_TRACK            1105
#define IDS_FILTER_TITLE         1106
#define IDS_CHASE_TITLE          1107
#define IDS_FILTER_LABEL         1108
#define IDS_CHASE_LABEL          1109
#define IDS_EDIT_CHANNEL         1110
#define IDS_EDIT_NAME            1111
#define IDS_EDIT_MUTE            1112
#define IDS_EDIT_SOLO            1113
