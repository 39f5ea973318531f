/// @file
/// Mouse wheel and middle-button auto-scroll: wheel steps on any window with
/// standard scroll bars, passing wheel messages to the window under the
/// pointer, the auto-scroll mode with its origin marker, direction cursors and
/// timer, and the host program's entry in the mouse driver's list of
/// programs that scroll by themselves.
#pragma once
#include "zq/base.h"

/// The default wherever a function takes it.
#define ZQWHEEL_DEFAULT 9191

///@{
/// Markers in the key-state word (low word of WM_MOUSEWHEEL's wParam).
#define ZQWHEEL_PASSED     0x1000  ///< already passed to the hovered window
#define ZQWHEEL_FORWARDED  0x2000  ///< forwarded to a parent by a child control
///@}

///@{
/// Axes and directions of ZqWheel_ScrollWindow and the scroll function.
#define ZQWHEEL_AXIS_H     1
#define ZQWHEEL_AXIS_V     2
#define ZQWHEEL_UP_LEFT    1
#define ZQWHEEL_DOWN_RIGHT 2
///@}

/// The timer of an auto-scroll run (on the marker window).
#define ZQWHEEL_TIMER_ID   9191

///@{
/// Ops of ZqWheel_AutoScrollOriginIcon.
#define ZQWHEEL_ICON_CREATE  1
#define ZQWHEEL_ICON_DESTROY 2
#define ZQWHEEL_ICON_HIDE    3
#define ZQWHEEL_ICON_SHOW    4
///@}

/// Replaces ZqWheel_ScrollWindow (and the horizontal divisor) in a run.
typedef void(CALLBACK* ZQAUTOSCROLLPROC)(HWND window, int axis, int direction, int count);

/// The auto-scroll record (96 bytes): owned and zeroed by the caller, zeroed
/// again when a run ends. Fields marked "in" are the caller's; ZQWHEEL_DEFAULT
/// picks the default.
typedef struct ZQAUTOSCROLL {
  HWND target;               ///< in: the window to scroll
  HINSTANCE instance;        ///< in: registers the marker class; 0 refuses
  ///@{
  /// in: the press point, target client coordinates
  LONG originX, originY;
  ///@}
  ///@{
  /// in (non-interactive) or detected
  BOOL horizontal, vertical;
  ///@}
  BOOL interactive;          ///< in: detect axes, show the marker, capture, timer
  LONG originHalfSize;       ///< in: default 16
  UINT interval;             ///< in: milliseconds, default 75
  LONG divisor;              ///< in: pixels per step, default 25
  LONG horizontalDivisor;    ///< in: horizontal steps on every n-th tick, default 3
  BOOL invalidate;           ///< in: invalidate the origin before horizontal steps
  ZQAUTOSCROLLPROC scrollProc;  ///< in: optional
  RECT origin;               ///< the origin rectangle
  HBITMAP markerBitmap;  ///< the origin marker's bitmap
  HDC targetDC;  ///< device context of the target window
  HDC memoryDC;  ///< memory context of the marker
  HGDIOBJ previousBitmap;  ///< bitmap selected before the marker's
  HCURSOR markerCursor;  ///< cursor shown over the origin
  HWND marker;               ///< the origin marker (holds the capture and the timer)
  HWND previousFocus;        ///< restored when the run ends
} ZQAUTOSCROLL;

#ifdef __cplusplus
static_assert(sizeof(ZQAUTOSCROLL) == 96, "auto-scroll record");
#endif

/// Stores the preference (non-zero: pass wheel messages to the window under
/// the pointer) and enters the host program in the mouse driver's exceptions
/// list. The registry status of the last step.
ZQAPI LONG WINAPI ZqWheel_Initialize(DWORD ignored, DWORD passToHover) ZQ_NOTHROW;
/// Stores the wheel preference (non-zero: pass wheel messages to the window under the pointer);
/// returns it.
ZQAPI DWORD WINAPI ZqWheel_UpdatePrefs(DWORD passToHover) ZQ_NOTHROW;
/// Nothing to undo: kept for callers of ZqWheel_Initialize.
ZQAPI void WINAPI ZqWheel_Terminate(DWORD ignored) ZQ_NOTHROW;
/// Kept for older callers: does nothing and returns 0.
ZQAPI int WINAPI ZqWheel_CreateZqGlobalSubclasses(void) ZQ_NOTHROW;
/// Nothing (C++-decorated export).
ZQAPI void WINAPI ZqWheel_DeleteZqGlobalSubclasses(void) ZQ_NOTHROW;

/// Hands a WM_MOUSEWHEEL of the focus window `window` to the window of this
/// process under the pointer, marked ZQWHEEL_PASSED. 1 when handed on.
ZQAPI BOOL WINAPI ZqWheel_PassToHover(HWND window, WPARAM wParam, LPARAM lParam) ZQ_NOTHROW;
/// For a wheel message marked ZQWHEEL_FORWARDED: the window under the screen
/// point in lParam and (when outId is given) its control id. Null otherwise.
ZQAPI HWND WINAPI ZqWheel_GetControlWindow(WPARAM wParam, LPARAM lParam, int* outId) ZQ_NOTHROW;
/// Sends `count` scroll messages (ZQWHEEL_DEFAULT: the system's wheel lines)
/// along `axis` (ZQWHEEL_DEFAULT: from the scroll bars). The last result.
ZQAPI LRESULT WINAPI ZqWheel_ScrollWindow(HWND window, int axis, int direction, int count) ZQ_NOTHROW;

/// Starts a middle-button auto-scroll described by the record; 1 when it started.
ZQAPI BOOL WINAPI ZqWheel_AutoScrollInit(ZQAUTOSCROLL* record) ZQ_NOTHROW;
/// Ends the run, zeroes the record -> 0.
/// Ends the run (timer, marker, capture) and zeroes the record. 0.
ZQAPI int WINAPI ZqWheel_AutoScrollTerminate(ZQAUTOSCROLL* record) ZQ_NOTHROW;
/// 1 while an auto-scroll runs.
ZQAPI BOOL WINAPI ZqWheel_AutoScrollInProgress(const ZQAUTOSCROLL* record) ZQ_NOTHROW;
/// Sets the direction cursor for the pointer position.
ZQAPI BOOL WINAPI ZqWheel_AutoScrollSetCursor(ZQAUTOSCROLL* record) ZQ_NOTHROW;
/// 1 when (x, y) lies inside the origin rectangle.
ZQAPI BOOL WINAPI ZqWheel_AutoScrollPtInOrigin(const ZQAUTOSCROLL* record, LONG x, LONG y) ZQ_NOTHROW;
/// Op 1 create and show the marker, 2 destroy it, 3 hide, 4 show without activating.
ZQAPI BOOL WINAPI ZqWheel_AutoScrollOriginIcon(ZQAUTOSCROLL* record, int op) ZQ_NOTHROW;
