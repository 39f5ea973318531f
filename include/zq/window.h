/// @file
/// Small dialog and window conveniences: moving and growing controls by id,
/// control rectangles and groups, radio groups, combo boxes, hooked dialogs
/// lined up with their main dialog, the previous instance of an
/// application, window classes, OLE initialisation and empty toolbars.
#pragma once
#include "zq/base.h"

/// Moves control `id` of `dialog` by (dx, dy) in the dialog's client
/// coordinates, or grows its size by (dx, dy) (negative values shrink it, to
/// no less than 0). 1 on success; 0 when the control does not exist or
/// cannot be moved.
ZQAPI BOOL WINAPI ZqDlgDeltaControlMove(HWND dialog, int id, int dx, int dy) ZQ_NOTHROW;
/// As ZqDlgDeltaControlMove, growing the control's size by (dx, dy).
ZQAPI BOOL WINAPI ZqDlgDeltaControlSize(HWND dialog, int id, int dx, int dy) ZQ_NOTHROW;
/// The client rectangle with the room of the window's scroll bars added.
ZQAPI BOOL WINAPI ZqGetRealClientRect(HWND window, RECT* rect) ZQ_NOTHROW;
/// The control's rectangle in dialog client coordinates (looked up by `id`
/// when `control` is null); 0 and an empty rectangle when it does not exist.
ZQAPI BOOL WINAPI ZqDlgGetControlRect(HWND dialog, HWND control, int id, RECT* rect) ZQ_NOTHROW;
/// Enable or disable / show (without activation) or hide each listed control.
/// 0 for a null dialog, or null ids with a positive count.
ZQAPI BOOL WINAPI ZqDlgEnableControls(HWND dialog, const int* ids, int count, BOOL enable) ZQ_NOTHROW;
/// As ZqDlgEnableControls, showing (without activation) or hiding the controls.
ZQAPI BOOL WINAPI ZqDlgShowControls(HWND dialog, const int* ids, int count, BOOL show) ZQ_NOTHROW;
/// The id of the first ticked button from `first` to `last` inclusive, else
/// `fallback`.
ZQAPI int WINAPI ZqDlgWhichRadioButton(HWND dialog, int first, int last, int fallback) ZQ_NOTHROW;
/// Closes the dropped list of the combo box that has the focus; 1 when it did.
ZQAPI BOOL WINAPI ZqDlgUndropComboBox(DWORD reserved) ZQ_NOTHROW;
/// Whether the point (screen coordinates, or dialog client coordinates with
/// `client`) lies in the control's window rectangle, right and bottom
/// exclusive.
ZQAPI BOOL WINAPI ZqIsMouseInControl(HWND dialog, int id, int x, int y, BOOL client) ZQ_NOTHROW;
/// Gives control `id` of `dialog` the horizontal extent on the screen of
/// control `otherId` of `other` (the parent when null), keeping its own top
/// and height. 0 when either control does not exist.
ZQAPI BOOL WINAPI ZqSetHorizHookControlPos(HWND dialog, HWND other, int id, int otherId) ZQ_NOTHROW;
/// Widens `dialog` until its right edge reaches that of `mainDialog` (the
/// parent when null). 1 when it already did, 0 otherwise.
ZQAPI BOOL WINAPI ZqLineupHookWithMainDialog(HWND dialog, HWND mainDialog) ZQ_NOTHROW;
/// Finds a top-level window of the class and brings it forward (restoring
/// its last active pop-up when it is minimised); the window or null.
ZQAPI HWND WINAPI ZqActivatePrevAppInstance(LPCWSTR className) ZQ_NOTHROW;
/// A new movable global block with the same size and bytes; null when the
/// block is null or memory is short.
ZQAPI HGLOBAL WINAPI ZqCopyHandle(HGLOBAL memory) ZQ_NOTHROW;
/// Registers a window class (its atom, 0 on failure) / unregisters it when it
/// is registered (0 for a null name or a class that is not registered).
ZQAPI ATOM WINAPI ZqRegisterClass(const WNDCLASSW* windowClass) ZQ_NOTHROW;
/// Unregisters a window class registered with ZqRegisterClass; 0 for a null name or a class that is
/// not registered.
ZQAPI BOOL WINAPI ZqUnregisterClass(LPCWSTR name, HINSTANCE instance) ZQ_NOTHROW;
/// Initialises OLE once (`initialise` non-zero: 1 on success, the stored
/// state when already done) or uninitialises it (only when initialised).
ZQAPI BOOL WINAPI ZqOleInit(BOOL initialise) ZQ_NOTHROW;
/// An empty "ToolbarWindow32" child of `parent` with the language handle's
/// resource module; null when it cannot be created.
ZQAPI HWND WINAPI ZqCreateToolbarEmpty(HZQLANG lang, HWND parent, DWORD style, UINT id) ZQ_NOTHROW;
/// The total width of the visible buttons and the largest button height.
ZQAPI BOOL WINAPI ZqGetToolbarSize(HWND toolbar, SIZE* size) ZQ_NOTHROW;
