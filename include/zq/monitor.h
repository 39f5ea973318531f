/// @file
/// Monitors and window placement: a multi-monitor layer that also answers on
/// systems without the platform's multi-monitor functions (one pseudo
/// monitor covering the primary screen), rules that keep rectangles and
/// windows on a monitor's work area or place a pop-up beside an anchor, a
/// check that a caption can still be grabbed, window placements kept in the
/// settings store, and window centring.
#pragma once
#include "zq/base.h"
#include "zq/metric.h"

/// The one monitor the fall-back layer hands out.
#define ZQ_PSEUDO_MONITOR ((HMONITOR)(LONG_PTR)0x12340042)

// ---- Multi-monitor layer ---------------------------------------------------
/// The platform's functions when USER32 has them (bound at library
/// start-up), else the fall-back's; the contracts are the platform's.
ZQAPI BOOL WINAPI ZqMonitor_EnumDisplayMonitors(HDC dc, LPCRECT clip, MONITORENUMPROC callback,
                                                LPARAM data) ZQ_NOTHROW;
/// The platform's MonitorFromRect (or its single-monitor stand-in), same contract.
ZQAPI HMONITOR WINAPI ZqMonitor_MonitorFromRect(LPCRECT rect, DWORD flags) ZQ_NOTHROW;
/// The platform's MonitorFromPoint (or its single-monitor stand-in), same contract.
ZQAPI HMONITOR WINAPI ZqMonitor_MonitorFromPoint(int x, int y, DWORD flags) ZQ_NOTHROW;
/// The platform's MonitorFromWindow (or its single-monitor stand-in), same contract.
ZQAPI HMONITOR WINAPI ZqMonitor_MonitorFromWindow(HWND window, DWORD flags) ZQ_NOTHROW;
/// `info->cbSize` must be sizeof(MONITORINFO) (40) or sizeof(MONITORINFOEXW) (104).
ZQAPI BOOL WINAPI ZqMonitor_GetMonitorInfo(HMONITOR monitor, LPMONITORINFO info) ZQ_NOTHROW;

// ---- Monitor geometry --------------------------------------------------------
// With `workArea` the monitor's work rectangle, else its monitor rectangle.

/// The monitor nearest to the window (or the point) and its area; null and
/// an empty rectangle when there is none or `rect` is null.
ZQAPI HMONITOR WINAPI ZqMonitor_GetMonitorRect(HWND window, RECT* rect, BOOL workArea) ZQ_NOTHROW;
/// As ZqMonitor_GetMonitorRect, for the monitor nearest to a point.
ZQAPI HMONITOR WINAPI ZqMonitor_GetMonitorRectFromPt(int x, int y, RECT* rect, BOOL workArea) ZQ_NOTHROW;
/// Moves `rect` (size unchanged) into the area of the window's monitor, or of
/// the monitor nearest to the rectangle for a null window; a rectangle larger
/// than the area keeps its left/top on the area's left/top. 0 for a null rect.
ZQAPI BOOL WINAPI ZqMonitor_ClipRectToMonitor(HWND window, RECT* rect, BOOL workArea) ZQ_NOTHROW;
/// Centres `rect` (size unchanged) on the area. 0 for a null rect.
ZQAPI BOOL WINAPI ZqMonitor_CenterRectToMonitor(HWND window, RECT* rect, BOOL workArea) ZQ_NOTHROW;
/// The same applied to `window`'s rectangle on the monitor of
/// `monitorWindow` (its own monitor when null); the window is moved without
/// size, activation or z-order change. 0 when it cannot be read or moved.
ZQAPI BOOL WINAPI ZqMonitor_CenterWindowToMonitor(HWND monitorWindow, HWND window, BOOL workArea) ZQ_NOTHROW;
/// Moves `window` so that it lies inside the monitor area (work area when asked).
ZQAPI BOOL WINAPI ZqMonitor_ClipWindowToMonitor(HWND monitorWindow, HWND window, BOOL workArea) ZQ_NOTHROW;
/// Centres the window on the work area of its nearest monitor.
ZQAPI BOOL WINAPI ZqMonitor_CenterWindow(HWND window) ZQ_NOTHROW;
/// Whether any part is visible on the screen.
ZQAPI BOOL WINAPI ZqMonitor_IsRectOnScreen(LPCRECT rect) ZQ_NOTHROW;
/// Whether any part is visible on the screen device context.
ZQAPI BOOL WINAPI ZqMonitor_IsWindowOnScreen(HWND window) ZQ_NOTHROW;
/// Whether the point lies on its monitor (right and bottom exclusive).
ZQAPI BOOL WINAPI ZqMonitor_IsPointOnScreen(POINT point) ZQ_NOTHROW;
/// Moves a window of which nothing is visible onto the work area of its
/// monitor; 1 when it was moved.
ZQAPI BOOL WINAPI ZqMonitor_MakeSureWindowIsVisible(HWND window) ZQ_NOTHROW;

// ---- Forcing onto the desktop --------------------------------------------------
/// Moves `rect` (size unchanged) so that it keeps the margins inside the work
/// area of its monitor; 1 when it moved, 0 when it stayed (or is null).
ZQAPI BOOL WINAPI ZqForceRectOntoDesktop(RECT* rect, int marginX, int marginY) ZQ_NOTHROW;
/// Places `popup` (size unchanged) diagonally beside `anchor`, towards the
/// centre of the anchor's monitor, inside the work area shrunk by the
/// margins. 0 for a null rectangle.
ZQAPI BOOL WINAPI ZqForcePopupRectOntoDesktop(RECT* popup, LPCRECT anchor, int marginX, int marginY) ZQ_NOTHROW;
/// 1 when a user could still grab the caption of a window at `rect`.
ZQAPI BOOL WINAPI ZqIsWindowCaptionVisible(LPCRECT rect) ZQ_NOTHROW;

// ---- Window placement in the settings store --------------------------------------
#define ZQ_PLACEMENT_SAVE             0  ///< store the placement
#define ZQ_PLACEMENT_RESTORE          1  ///< only a stored placement
#define ZQ_PLACEMENT_RESTORE_DEFAULT  2  ///< a stored one, else a default

/// Reads the 44-byte binary metric `id` into `placement`. 0 when exactly 44
/// bytes were read (mode 2: and the stored maximised position is negative);
/// otherwise 1, with mode 2 after filling a default placement (the work area
/// inset by a sixteenth on each side). E_POINTER for a null placement.
ZQAPI int WINAPI ZqLoadWindowPlacement(HZQMETRIC metric, LONG id, int mode,
                                       WINDOWPLACEMENT* placement) ZQ_NOTHROW;
/// A minimised show command becomes the normal one; a normal rectangle whose
/// caption cannot be grabbed is forced onto the desktop. 0 for null.
ZQAPI BOOL WINAPI ZqFixWindowPlacement(WINDOWPLACEMENT* placement) ZQ_NOTHROW;
/// Mode ZQ_PLACEMENT_SAVE stores the window's placement (the store's result);
/// the restore modes return the load result (0 or 1; mode 1 leaves the window
/// alone when nothing fit was stored), E_FAIL when the window refuses the
/// placement. Any other mode is E_FAIL.
ZQAPI HRESULT WINAPI ZqWindowPlacement(HWND window, HZQMETRIC metric, LONG id, int mode) ZQ_NOTHROW;

// ---- Centring ----------------------------------------------------------------------
#define ZQ_WNDCENTER_AREA          0x0000  ///< centred in the reference area
#define ZQ_WNDCENTER_THIRD         0x0001  ///< one third down, centred across
#define ZQ_WNDCENTER_MOUSE         0x0002  ///< centred on the mouse cursor
#define ZQ_WNDCENTER_POINT         0x0003  ///< centred on `point`
#define ZQ_WNDCENTER_POSITION_MASK 0x000F  ///< the position part
#define ZQ_WNDCENTER_CLIENT        0x1000  ///< the reference's client area
#define ZQ_WNDCENTER_PARENT        0x8000  ///< the window's parent is the reference

/// Moves `window` (size unchanged) by `flags` against `reference` (the
/// screen for null), kept on the desktop. 0 when the window cannot be read
/// or moved.
ZQAPI BOOL WINAPI ZqWndCenter(HWND window, HWND reference, POINT point, UINT flags) ZQ_NOTHROW;
