/// @file
/// The spinner: a pair of arrow buttons with an optional drag area that
/// steps or drags one value, optionally attached to an edit control (its
/// buddy) whose stepping keys it takes over. One instance record serves as a
/// window of the class registered by SpinnerInitialize or as a window-less
/// instance a host window keeps. Horizontal spinners run their scroll codes
/// toward the left: code 0 is a line toward the minimum.
#pragma once
#include "zq/base.h"

///@{
/// The instance record: SpinnerInst_GetSize() bytes, zeroed by the caller of
/// SpinnerInst_Init.
#define ZQ_SPINNERINST_SIZE 200
/// A spinner instance record (opaque).
typedef struct ZQSPINNERINST {
  DWORD opaque[ZQ_SPINNERINST_SIZE / 4];  ///< the library's state
} ZQSPINNERINST;
///@}

// ---- Style bits ---------------------------------------------------------------
#define SPNS_VERT            0x0001  ///< WM_VSCROLL, vertical drag cursor
#define SPNS_DLGADJUST       0x0002  ///< at creation: the dialog item moves up 1 and grows 2 pixels
#define SPNS_DRAG_MASK       0x0030  ///< a drag area (1 ... 3: 4, 6 or 8 pixels long); 0: buttons only
#define SPNS_TAPER           0x0080  ///< drags follow the fader's taper
#define SPNS_NOTIFY          0x1000  ///< WM_COMMAND notifications
#define SPNS_BUDDY           0x4000  ///< never takes the focus; gestures move it to the buddy
#define SPNS_FLAT            0x8000  ///< no 3-D edges

///@{
/// Parts.
#define SPNP_BUTTON0   0  ///< top (vertical) or left
#define SPNP_BUTTON1   1  ///< bottom or right
#define SPNP_DRAGAREA  5
///@}

// ---- Private messages (the fader's numbers where they share a meaning) ----------------
#define SPNM_GETPOS          (WM_USER + 522)  ///< the value
#define SPNM_GETMIN          (WM_USER + 523)  ///< the minimum
#define SPNM_GETMAX          (WM_USER + 524)  ///< the maximum
#define SPNM_SETRANGE        (WM_USER + 525)  ///< lParam MAKELONG(min, max), signed 16-bit
#define SPNM_SETMIN          (WM_USER + 526)  ///< sets the minimum [lParam: value]
#define SPNM_SETMAX          (WM_USER + 527)  ///< sets the maximum [lParam: value]
#define SPNM_SETPOS          (WM_USER + 528)  ///< lParam value -> the value, clamped
#define SPNM_SETCENTER       (WM_USER + 529)  ///< sets the centre (clamped) [lParam: value]
#define SPNM_GETSENSITIVITY  (WM_USER + 542)  ///< pixels a drag takes for the whole range
/// Sets the pixels a drag takes for the whole range [lParam: pixels]
#define SPNM_SETSENSITIVITY  (WM_USER + 543)
#define SPNM_GETNOTIFY       (WM_USER + 544)  ///< the window notifications go to
#define SPNM_SETNOTIFY       (WM_USER + 545)  ///< wParam window -> it
#define SPNM_SETSTYLE        (WM_USER + 546)  ///< wParam new low word of the style, LOWORD(lParam) repaint
#define SPNM_GETBUDDY        (WM_USER + 547)  ///< the buddy edit, or null
#define SPNM_SETBUDDY        (WM_USER + 548)  ///< wParam edit or null, LOWORD(lParam) text limit -> the buddy

///@{
/// The buddy's window properties while it is attached.
#define SPINNER_BUDDY_INSTANCE L"SpinMeRound"
#define SPINNER_BUDDY_PROC     L"SpinMeLo"
///@}

#define SPNC_SETFOCUS   1  ///< WM_COMMAND code: the spinner took the focus
#define SPNC_PRESSED    3  ///< WM_COMMAND code: a button or the drag area was pressed
#define SPNC_RELEASED   4  ///< WM_COMMAND code: the press ended

/// Called with every gesture: codes 0 ... 3, 6 and 7 are to be applied by
/// the procedure (SpinnerInst_DefScrollProc); 4 and 5 come with the new
/// value, 8 and 9 with the current one. The result is ignored.
typedef void(CALLBACK* ZQSPINNERSCROLLPROC)(ZQSPINNERINST* inst, int id, LPARAM ownerData, int code, LONG value);

// ---- Window form ------------------------------------------------------------------------
/// Builds the shared arrow bitmap and registers the class.
ZQAPI BOOL WINAPI SpinnerInitialize(HINSTANCE instance, LPCWSTR className) ZQ_NOTHROW;
/// Unregisters the spinner window class registered by SpinnerInitialize; 1 on success.
ZQAPI BOOL WINAPI SpinnerTerminate(HINSTANCE instance, LPCWSTR className) ZQ_NOTHROW;

// ---- Hosted form ------------------------------------------------------------------------
/// The size in bytes of the instance record (ZQ_SPINNERINST_SIZE).
ZQAPI int WINAPI SpinnerInst_GetSize(void) ZQ_NOTHROW;
/// Initialises a zeroed record as a hosted instance painting in `hostWindow`; 1.
ZQAPI BOOL WINAPI SpinnerInst_Init(ZQSPINNERINST* inst, DWORD style, const RECT* rect, HWND host, int id,
                                   ZQSPINNERSCROLLPROC proc, LPARAM ownerData) ZQ_NOTHROW;
/// Releases the instance's drawing objects.
ZQAPI void WINAPI SpinnerInst_Deinit(ZQSPINNERINST* inst) ZQ_NOTHROW;
/// Sets the control rectangle and lays out.
ZQAPI void WINAPI SpinnerInst_Move(ZQSPINNERINST* inst, const RECT* rect) ZQ_NOTHROW;
/// Paints the spinner.
ZQAPI void WINAPI SpinnerInst_Draw(ZQSPINNERINST* inst, HDC dc) ZQ_NOTHROW;
/// Feeds a window message to a hosted instance; the message result.
ZQAPI LRESULT WINAPI SpinnerInst_Message(ZQSPINNERINST* inst, UINT message, WPARAM wParam, LPARAM lParam) ZQ_NOTHROW;
/// Sets the control id used in notifications; returns it.
ZQAPI int WINAPI SpinnerInst_SetId(ZQSPINNERINST* inst, int id) ZQ_NOTHROW;
/// Sets the scroll function and its owner data.
ZQAPI void WINAPI SpinnerInst_SetScrollProc(ZQSPINNERINST* inst, ZQSPINNERSCROLLPROC proc, LPARAM ownerData) ZQ_NOTHROW;
/// Hosted instances only: sets the window the instance paints in and notifies.
ZQAPI void WINAPI SpinnerInst_SetOwnerHwnd(ZQSPINNERINST* inst, HWND window) ZQ_NOTHROW;
/// The default scroll function: applies a scroll code to the value and repaints.
ZQAPI void WINAPI SpinnerInst_DefScrollProc(ZQSPINNERINST* inst, int code, HWND ignored, LONG amount,
                                            LONG page) ZQ_NOTHROW;
/// For a spinner window: codes 8 and 9 set `value` as it is (the value the
/// spinner reported: WM_VSCROLL and WM_HSCROLL carry it only for codes 4 and
/// 5, so pass SPNM_GETPOS); the others are applied to the window's current
/// value. Then SPNM_SETPOS.
ZQAPI void WINAPI Spinner_DefScrollProc(ZQSPINNERINST* inst, int code, HWND window, LONG amount, LONG page,
                                        LONG value) ZQ_NOTHROW;
