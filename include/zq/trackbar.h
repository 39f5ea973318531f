/// @file
/// The trackbar: a single-value slider built like the fader (one instance
/// record serving as a window of the class registered by TrackbarInitialize
/// or as a window-less instance a host window keeps), with a flat, bitmap or
/// image-list thumb, a filled track (from the start or from the centre), the
/// standard or a logarithmic taper, hot tracking and keyboard, mouse, wheel
/// and controller input. Horizontal trackbars run their scroll codes toward
/// the left: code 0 is a line toward the minimum.
#pragma once
#include "zq/base.h"
#include "zq/fader.h"  // ZQFADERNMKEY, ZQFADERNMCONTROLLER, the scroll codes

#include <commctrl.h>

///@{
/// The instance record: TrackbarInst_GetSize() bytes, zeroed by the caller of
/// TrackbarInst_Init.
#define ZQ_TRACKBARINST_SIZE 232
/// A trackbar instance record (opaque).
typedef struct ZQTRACKBARINST {
  DWORD opaque[ZQ_TRACKBARINST_SIZE / 4];  ///< the library's state
} ZQTRACKBARINST;
///@}

// ---- Style bits ---------------------------------------------------------------
#define TBKS_VERT            0x0001  ///< the value grows upwards
#define TBKS_FINEMAPPING     0x0004  ///< treat the track as having a pixel per value
#define TBKS_NOFOCUS         0x0008  ///< a press does not take the focus
#define TBKS_THUMBSIZE_MASK  0x0030  ///< thumb size class
#define TBKS_THUMB8          0x0010  ///< the small thumb class
#define TBKS_LOGARITHMIC     0x0040  ///< the logarithmic taper table (with TBKS_TAPER)
#define TBKS_TAPER           0x0080  ///< tapered scale
#define TBKS_TRACK_MASK      0x0300  ///< track look
#define TBKS_TRACK_NARROW    0x0100  ///< the narrow track
#define TBKS_JUMPTOPOINT     0x4000  ///< a press in the track moves the thumb there and drags it
#define TBKS_NOTIFY          0x8000  ///< WM_COMMAND notifications

// ---- State flags ------------------------------------------------------------------
#define TBKST_DISABLED       0x000001  ///< disabled
#define TBKST_FOCUS          0x000002  ///< has the focus
#define TBKST_HOSTED         0x000004  ///< hosted instance
#define TBKST_VERT           0x000008  ///< vertical
#define TBKST_HIDDEN         0x000040  ///< hidden (too small)
#define TBKST_FILLCENTRE     0x000200  ///< fill from the centre
#define TBKST_FILL           0x000400  ///< draw the filled part of the track
#define TBKST_MANYCOLOURS    0x002000  ///< more than 256 display colours (gradient track)
#define TBKST_FLATTHUMB      0x004000  ///< drawn flat thumb
#define TBKST_FINEMAPPING    0x008000  ///< the track has at least as many pixels as the value range
#define TBKST_FINEDRAG       0x010000  ///< fine drag
#define TBKST_FINEACTIVE     0x020000  ///< fine drag active
#define TBKST_IGNOREMOVE     0x040000  ///< ignore the next mouse move
#define TBKST_COMMANDS       0x080000  ///< WM_COMMAND notifications
#define TBKST_JUMPTOPOINT    0x100000  ///< a press moves the thumb to the point

// ---- Private messages (the fader's numbers where they share a meaning) ----------------
#define TBKM_GETPOS          (WM_USER + 522)  ///< the value
#define TBKM_GETMIN          (WM_USER + 523)  ///< the minimum
#define TBKM_GETMAX          (WM_USER + 524)  ///< the maximum
#define TBKM_SETRANGE        (WM_USER + 525)  ///< wParam repaint, lParam MAKELONG(min, max), signed 16-bit
#define TBKM_SETMIN          (WM_USER + 526)  ///< sets the minimum [wParam: repaint; lParam: value]
#define TBKM_SETMAX          (WM_USER + 527)  ///< sets the maximum [wParam: repaint; lParam: value]
#define TBKM_SETPOS          (WM_USER + 528)  ///< wParam repaint, lParam value
#define TBKM_SETCENTER       (WM_USER + 529)  ///< sets the centre (clamped) [lParam: value]
#define TBKM_GETTRACK        (WM_USER + 542)  ///< MAKELONG(track length, track rectangle's left)
#define TBKM_SETFILLCENTRE   (WM_USER + 543)  ///< wParam repaint, lParam 0/1 -> the new state
#define TBKM_SETFILL         (WM_USER + 544)  ///< wParam repaint, lParam 0/1 -> the new state
#define TBKM_SETBKCOLOR      (WM_USER + 551)  ///< sets the background colour [lParam: colour]
#define TBKM_GETBKCOLOR      (WM_USER + 552)  ///< the background colour
#define TBKM_SETOWNERDATA    (WM_USER + 553)  ///< sets the owner data [lParam: value]
#define TBKM_GETOWNERDATA    (WM_USER + 554)  ///< the owner data
#define TBKM_SETIMAGELIST    (WM_USER + 555)  ///< wParam HIMAGELIST[3], lParam LONG[4]

///@{
/// Notification codes (WM_NOTIFY, with the fader's records) and WM_COMMAND codes.
#define TBKN_KEY        (-102)
#define TBKN_CONTROLLER (-108)
#define TBKC_SETFOCUS   1
#define TBKC_KILLFOCUS  2
#define TBKC_PRESSED    3
#define TBKC_RELEASED   4
///@}

/// Called with every gesture; codes 0 ... 3, 6 and 7 come with value 0 and
/// the procedure applies them (TrackbarInst_DefScrollProc), codes 4 and 5
/// with the new value, 8 and 9 with the current one. The result is ignored.
typedef void(CALLBACK* ZQTRACKBARSCROLLPROC)(ZQTRACKBARINST* inst, int id, LPARAM ownerData, int code, LONG value);

// ---- Window form ------------------------------------------------------------------------
/// Class style CS_GLOBALCLASS | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, 4 bytes of window extra,
/// arrow cursor, background COLOR_BTNFACE+1; returns 1 on success. `TrackbarTerminate(hInstance,
/// className)` unregisters.
ZQAPI BOOL WINAPI TrackbarInitialize(HINSTANCE instance, LPCWSTR className) ZQ_NOTHROW;
/// Unregisters the trackbar window class registered by TrackbarInitialize; 1 on success.
ZQAPI BOOL WINAPI TrackbarTerminate(HINSTANCE instance, LPCWSTR className) ZQ_NOTHROW;

// ---- Hosted form ------------------------------------------------------------------------
/// 232. `TrackbarInst_Init(inst, style, rect, hostWindow, id, scrollProc, ownerData)` -> 1.
/// `TrackbarInst_Move(inst, rect)`. `TrackbarInst_Draw(inst, hdc)` (track, fill, ticks, thumb
/// unless hidden, focus) and `TrackbarInst_DrawThumb(inst, hdc)`.
ZQAPI int WINAPI TrackbarInst_GetSize(void) ZQ_NOTHROW;
/// Initialises a zeroed record as a hosted instance painting in `hostWindow`; 1.
ZQAPI BOOL WINAPI TrackbarInst_Init(ZQTRACKBARINST* inst, DWORD style, const RECT* rect, HWND host, int id,
                                    ZQTRACKBARSCROLLPROC proc, LPARAM ownerData) ZQ_NOTHROW;
/// Sets the control rectangle and lays out.
ZQAPI void WINAPI TrackbarInst_Move(ZQTRACKBARINST* inst, const RECT* rect) ZQ_NOTHROW;
/// Paints the track and the thumb.
ZQAPI void WINAPI TrackbarInst_Draw(ZQTRACKBARINST* inst, HDC dc) ZQ_NOTHROW;
/// Paints the thumb only.
ZQAPI void WINAPI TrackbarInst_DrawThumb(ZQTRACKBARINST* inst, HDC dc) ZQ_NOTHROW;
/// Feeds a window message to a hosted instance; the message result.
ZQAPI LRESULT WINAPI TrackbarInst_Message(ZQTRACKBARINST* inst, UINT message, WPARAM wParam, LPARAM lParam) ZQ_NOTHROW;
/// Sets the control id used in notifications; returns it.
ZQAPI int WINAPI TrackbarInst_SetId(ZQTRACKBARINST* inst, int id) ZQ_NOTHROW;
/// Hosted instances only: sets the window the instance paints in and notifies.
ZQAPI void WINAPI TrackbarInst_SetOwnerHwnd(ZQTRACKBARINST* inst, HWND window) ZQ_NOTHROW;
/// Always 50 x 19; also the 64-bit result (cx low, cy high).
ZQAPI ULONGLONG WINAPI TrackbarInst_GetMinSize(ZQTRACKBARINST* inst, SIZE* size) ZQ_NOTHROW;
/// Copies the thumb rectangle into `out` and returns `out`.
ZQAPI RECT* WINAPI TrackbarInst_GetThumbRect(RECT* out, ZQTRACKBARINST* inst) ZQ_NOTHROW;
/// A bitmap thumb (mask optional): the thumb length becomes the bitmap's
/// height (vertical) or width; null restores the flat 12-pixel thumb.
/// Returns the previous bitmap.
ZQAPI HBITMAP WINAPI TrackbarInst_SetThumbBitmap(ZQTRACKBARINST* inst, HBITMAP bitmap, HBITMAP mask) ZQ_NOTHROW;
/// images = {normal, tracking, disabled}, metrics as the fader's.
ZQAPI BOOL WINAPI TrackbarInst_SetThumbImageList(ZQTRACKBARINST* inst, HIMAGELIST* images,
                                                 const LONG* metrics) ZQ_NOTHROW;
/// The default scroll function: applies a scroll code to the value and repaints.
ZQAPI void WINAPI TrackbarInst_DefScrollProc(ZQTRACKBARINST* inst, int code, HWND ignored, LONG amount,
                                             LONG page) ZQ_NOTHROW;
/// As TrackbarInst_DefScrollProc, for a trackbar window (through its messages).
ZQAPI void WINAPI Trackbar_DefScrollProc(ZQTRACKBARINST* inst, int code, HWND window, LONG amount,
                                         LONG page) ZQ_NOTHROW;
