/// @file
/// The fader: a mixing-desk slider with one or two thumbs (mono or stereo),
/// a linear or tapered scale, keyboard, mouse, wheel and a caret focus
/// display. One instance record serves as a window of the class registered
/// by FaderInitialize or as a window-less instance that a host window keeps,
/// places, draws and feeds messages to.
#pragma once
#include "zq/base.h"

#include <commctrl.h>

///@{
/// The instance record: FaderInst_GetSize() bytes, zeroed by the caller of
/// FaderInst_Init.
#define ZQ_FADERINST_SIZE 320
/// A fader instance record (opaque).
typedef struct ZQFADERINST {
  DWORD opaque[ZQ_FADERINST_SIZE / 4];  ///< the library's state
} ZQFADERINST;
///@}

// ---- Style bits ---------------------------------------------------------------
#define FADS_VERT            0x0001  ///< the value grows upwards
#define FADS_SELFMOVE        0x0002  ///< keys and repeats move the values before reporting (stereo: always)
#define FADS_NOFOCUS         0x0008  ///< a press does not take the focus
#define FADS_THUMBSIZE_MASK  0x0030  ///< value 0x0010: 10-pixel thumb, otherwise 20
#define FADS_THUMB10         0x0010  ///< 10-pixel thumb (otherwise 20)
#define FADS_STEREO          0x0040  ///< stereo: two channels and two thumbs
#define FADS_TAPER           0x0080  ///< tapered scale
/// Track look; value 0x100 gives the narrow track (thickness 10, end inset 1)
#define FADS_TRACK_MASK      0x0F00
#define FADS_TRACK_NARROW    0x0100  ///< the narrow track
#define FADS_TICKS_MASK      0xF000  ///< any of these draws the tick scale
#define FADS_NOTIFY          0x4000  ///< WM_COMMAND notifications

// ---- State flags ------------------------------------------------------------------
#define FADST_DISABLED       0x000001  ///< disabled
#define FADST_FOCUS          0x000002  ///< has the focus
#define FADST_HOSTED         0x000004  ///< hosted instance
#define FADST_VERT           0x000008  ///< vertical
#define FADST_STEREO         0x000010  ///< stereo
#define FADST_NOTICKS        0x000020  ///< no tick scale
#define FADST_HIDDEN         0x000080  ///< hidden (too small)
#define FADST_MANYCOLOURS    0x000400  ///< the display has more than 256 colours (gradients drawn)
#define FADST_IMAGETHUMB     0x000800  ///< image or bitmap thumb
#define FADST_FINEMAPPING    0x001000  ///< as many track pixels as values
#define FADST_FINEDRAG       0x002000  ///< fine drag (Ctrl or the right button held)
#define FADST_FINEACTIVE     0x004000  ///< fine drag active
#define FADST_IGNOREMOVE     0x008000  ///< ignore the next mouse move (pointer warped)
#define FADST_RBUTTON        0x010000  ///< right button pressed
#define FADST_COMMANDS       0x040000  ///< WM_COMMAND notifications
#define FADST_GANGINVERTED   0x080000  ///< inverted gang key
#define FADST_NOSPLITGRAB    0x100000  ///< no split grab on stereo thumbs
#define FADST_CONTROLLER     0x200000  ///< external controller attached

// ---- Scroll codes (gestures) -------------------------------------------------------
#define FADER_LINEUP     0  ///< value + the line step
#define FADER_LINEDOWN   1  ///< value - the line step
#define FADER_PAGEUP     2  ///< value + the page step
#define FADER_PAGEDOWN   3  ///< value - the page step
#define FADER_FINAL      4  ///< the drag ended
#define FADER_TRACKING   5  ///< the thumb is being dragged
#define FADER_TOP        6  ///< to the maximum (the centre 0 when the range straddles 0, without Ctrl)
#define FADER_BOTTOM     7  ///< to the minimum
#define FADER_ENDGESTURE 8  ///< a gesture ended
#define FADER_STARTGESTURE 9  ///< a gesture starts

// ---- Private messages ----------------------------------------------------------------
#define FDM_GETPOS          (WM_USER + 522)  ///< Channel-1 value
#define FDM_GETMIN          (WM_USER + 523)  ///< Minimum
#define FDM_GETMAX          (WM_USER + 524)  ///< Maximum
#define FDM_SETRANGE        (WM_USER + 525)  ///< wParam repaint, lParam MAKELONG(min, max)
#define FDM_SETMIN          (WM_USER + 526)  ///< Sets the minimum [wParam: repaint; lParam: value]
#define FDM_SETMAX          (WM_USER + 527)  ///< Sets the maximum [wParam: repaint; lParam: value]
#define FDM_SETPOS          (WM_USER + 528)  ///< wParam repaint, lParam value
/// Sets the centre value, clamped to the range; returns it [lParam: value]
#define FDM_SETCENTER       (WM_USER + 529)
#define FDM_SETBKCOLOR      (WM_USER + 551)  ///< Sets the background colour [lParam: colour]
#define FDM_GETBKCOLOR      (WM_USER + 552)  ///< Get the background colour [lParam: colour]
#define FDM_SETOWNERDATA    (WM_USER + 553)  ///< Sets the owner data [lParam: value]
#define FDM_GETOWNERDATA    (WM_USER + 554)  ///< Get the owner data [lParam: value]
#define FDM_SETUP           (WM_USER + 557)  ///< lParam ZQFADERSETUP*
/// Channel mask, limited to the existing channels, 0 becomes 1 [lParam: mask]
#define FDM_SETCHANNELMASK  (WM_USER + 558)
#define FDM_SETCHANNEL      (WM_USER + 559)  ///< wParam MAKEWPARAM(repaint, channel or 0 = all)
#define FDM_GETCHANNEL      (WM_USER + 560)  ///< wParam MAKEWPARAM(0, channel or 0 = all), lParam out
#define FDM_SETGANGINVERT   (WM_USER + 561)  ///< Sets the inverted gang key [lParam: 0/1]
#define FDM_GETGANGINVERT   (WM_USER + 562)  ///< Get the inverted gang key (state 0x80000) [lParam: 0/1]
#define FDM_SETNOSPLITGRAB  (WM_USER + 563)  ///< Sets the split-grab suppression [lParam: 0/1]
/// Get the split-grab suppression (state 0x100000) [lParam: 0/1]
#define FDM_GETNOSPLITGRAB  (WM_USER + 564)
#define FDM_SETIMAGELIST    (WM_USER + 565)  ///< wParam HIMAGELIST[3], lParam LONG[4]

// Controller input (0x7F0A ... 0x7F0E): 0x7F0A registers the process-wide
// controller record (lParam; null removes it); with one registered, 0x7F0D
// (tracking) and 0x7F0E (final) set channel wParam (1-based; 0 = the masked
// channels) to lParam and report codes 9, 5 or 4, and 8. Anything else goes
// to the notification window as FDN_CONTROLLER.

///@{
/// Notification codes (WM_NOTIFY) and WM_COMMAND codes.
#define FDN_KEY        (-102)
#define FDN_SCROLL     (-104)
#define FDN_CONTROLLER (-108)
#define FDC_SETFOCUS   1
#define FDC_KILLFOCUS  2
#define FDC_PRESSED    3
#define FDC_RELEASED   4
///@}

/// The full setup of FDM_SETUP.
typedef struct ZQFADERSETUP {
  ///@{
  /// value range and centre
  LONG minimum, maximum, centre;
  ///@}
  ///@{
  /// page 0: (max - min + 5) / 10, at least 1
  LONG lineStep, pageStep;
  ///@}
  ///@{
  /// style = style & ~mask | bits & mask
  DWORD style, styleMask;
  ///@}
  DWORD reserved;  ///< reserved
  const LONG* values;       ///< initial channel values (one or two)
} ZQFADERSETUP;

/// WM_NOTIFY FDN_SCROLL of the window form with FADS_SELFMOVE.
typedef struct ZQFADERNMSCROLL {
  NMHDR hdr;  ///< code FDN_SCROLL
  LPARAM ownerData;  ///< the owner data
  LONG channels;  ///< channel count
  DWORD channelMask;  ///< the channels that moved
  LONG code;  ///< the scroll code (FADER_)
  LONG* values;  ///< the channel values
} ZQFADERNMSCROLL;

/// WM_NOTIFY FDN_KEY: a key the fader does not handle.
typedef struct ZQFADERNMKEY {
  NMHDR hdr;  ///< code FDN_KEY
  UINT key;  ///< the virtual key
  ///@{
  /// the key data (lParam) in two halves
  WORD keyDataLow, keyDataHigh;
  ///@}
} ZQFADERNMKEY;

/// WM_NOTIFY FDN_CONTROLLER: controller input the fader does not handle.
typedef struct ZQFADERNMCONTROLLER {
  NMHDR hdr;  ///< code FDN_CONTROLLER
  UINT message;  ///< the controller message
  WPARAM wParam;  ///< its wParam
  LPARAM lParam;  ///< its lParam
} ZQFADERNMCONTROLLER;

/// Called with every value change and gesture; the result is ignored.
typedef void(CALLBACK* ZQFADERSCROLLPROC)(ZQFADERINST* inst, int id, LPARAM ownerData, int code, LONG* values,
                                          DWORD channelMask);

// ---- Window form ------------------------------------------------------------------------
/// Registers the class: style CS_GLOBALCLASS | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, 4 bytes of
/// window extra (the instance pointer), background COLOR_BTNFACE+1. Returns 1 on success, 0
/// otherwise. `FaderTerminate(hInstance, className)` unregisters it.
ZQAPI BOOL WINAPI FaderInitialize(HINSTANCE instance, LPCWSTR className) ZQ_NOTHROW;
/// Unregisters the fader window class registered by FaderInitialize; 1 on success.
ZQAPI BOOL WINAPI FaderTerminate(HINSTANCE instance, LPCWSTR className) ZQ_NOTHROW;

// ---- Hosted form ------------------------------------------------------------------------
/// The size in bytes of the instance record (ZQ_FADERINST_SIZE).
ZQAPI int WINAPI FaderInst_GetSize(void) ZQ_NOTHROW;
/// Initialises a zeroed record as a hosted instance painting in hostWindow -> 1.
ZQAPI BOOL WINAPI FaderInst_Init(ZQFADERINST* inst, DWORD style, const RECT* rect, HWND host, int id,
                                 ZQFADERSCROLLPROC proc, LPARAM ownerData) ZQ_NOTHROW;
/// Deletes its GDI objects and drops the shared memory DC with the last instance.
ZQAPI void WINAPI FaderInst_Deinit(ZQFADERINST* inst) ZQ_NOTHROW;
/// Sets the control rectangle and lays out.
ZQAPI void WINAPI FaderInst_Move(ZQFADERINST* inst, const RECT* rect) ZQ_NOTHROW;
/// Paints background, track, scale and thumbs.
ZQAPI void WINAPI FaderInst_Draw(ZQFADERINST* inst, HDC dc) ZQ_NOTHROW;
/// Paints the thumbs only.
ZQAPI void WINAPI FaderInst_DrawThumb(ZQFADERINST* inst, HDC dc) ZQ_NOTHROW;
/// Feeds a window message (mouse, keyboard, focus and the FDM_ messages) to a hosted instance; the
/// message result.
ZQAPI LRESULT WINAPI FaderInst_Message(ZQFADERINST* inst, UINT message, WPARAM wParam, LPARAM lParam) ZQ_NOTHROW;
/// Sets the control id used in notifications; returns it.
ZQAPI int WINAPI FaderInst_SetId(ZQFADERINST* inst, int id) ZQ_NOTHROW;
/// Sets the scroll function called for each scroll code, and its owner data.
ZQAPI void WINAPI FaderInst_SetScrollProc(ZQFADERINST* inst, ZQFADERSCROLLPROC proc, LPARAM ownerData) ZQ_NOTHROW;
/// Hosted instances only: sets the window the instance paints in and notifies.
ZQAPI void WINAPI FaderInst_SetOwnerHwnd(ZQFADERINST* inst, HWND window) ZQ_NOTHROW;
/// Draws the thumb from a bitmap (mask optional; the thumb length becomes its height, or width when
/// horizontal); a null bitmap restores the drawn thumb. Returns the previous bitmap.
ZQAPI HBITMAP WINAPI FaderInst_SetThumbBitmap(ZQFADERINST* inst, HBITMAP bitmap, HBITMAP mask) ZQ_NOTHROW;
/// Draws the thumb from three image lists (normal, tracking, disabled); `metrics` gives four
/// values, the thumb length second (vertical) or third (horizontal).
ZQAPI BOOL WINAPI FaderInst_SetThumbImageList(ZQFADERINST* inst, HIMAGELIST* images, const LONG* metrics) ZQ_NOTHROW;
/// Non-zero for a stereo (two-channel) fader.
ZQAPI BOOL WINAPI FaderInst_IsStereo(ZQFADERINST* inst) ZQ_NOTHROW;
/// The smallest size; vertical faders (thickness, length), horizontal
/// (length, thickness). Also the 64-bit result (cx low, cy high).
ZQAPI ULONGLONG WINAPI FaderInst_GetMinSize(ZQFADERINST* inst, SIZE* size) ZQ_NOTHROW;
/// The default scroll function: applies a scroll code to channel 1 of the instance and repaints.
ZQAPI void WINAPI FaderInst_DefScrollProc(ZQFADERINST* inst, int code, HWND ignored, LONG amount, LONG page) ZQ_NOTHROW;
/// As FaderInst_DefScrollProc, for a fader window (through its messages).
ZQAPI void WINAPI Fader_DefScrollProc(ZQFADERINST* inst, int code, HWND window, LONG amount, LONG page) ZQ_NOTHROW;
