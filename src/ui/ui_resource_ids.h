// Resource ids of the controls' own resources. Cursors 1 ... 56 keep their
// index as id.
#pragma once

#define IDB_UI_PATTERN    101   // the pattern brush's bitmap
#define IDR_UI_COLORS     100   // RCDATA: the 62 default user-interface colours
