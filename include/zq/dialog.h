// Dialog conveniences: moving and growing a dialog's controls by their ids.
#pragma once
#include "zq/base.h"

// Moves control `id` of `dialog` by (dx, dy) in the dialog's client
// coordinates, or grows its size by (dx, dy) (negative values shrink it, to
// no less than 0). 1 on success; 0 when the control does not exist or
// cannot be moved.
ZQAPI BOOL WINAPI ZqDlgDeltaControlMove(HWND dialog, int id, int dx, int dy) ZQ_NOTHROW;
ZQAPI BOOL WINAPI ZqDlgDeltaControlSize(HWND dialog, int id, int dx, int dy) ZQ_NOTHROW;
