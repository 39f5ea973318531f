/// @file
/// The library's shared drawing resources: user-interface colours over the
/// system colours, cached brushes and pens, the user-interface fonts with
/// their cached sizes, the library's cursors, a recolourable 16-colour bitmap
/// loader and the packed HLS conversion. Meant for the user-interface thread;
/// cached objects belong to the library.
#pragma once
#include "zq/base.h"

// ---- Colour indices ---------------------------------------------------------
///@{
/// 0 ... 99 system colours; 100 ... 161 the user-interface colours; -i (i >= 100)
/// the built-in default of entry i, ignoring changes.
#define ZQ_UICOLOR_FIRST   100
#define ZQ_UICOLOR_LAST    161
#define ZQ_UICOLOR_COUNT   62
///@}

///@{
/// Encoded colours of the table: a plain COLORREF, or one of these.
#define ZQ_UICOLOR_ENCODING_MASK 0xFF000000u
#define ZQ_UICOLOR_SYS(n)        (0x04000000u | (DWORD)(n))  ///< system colour n
#define ZQ_UICOLOR_SYSADJ(n)     (0x05000000u | (DWORD)(n))  ///< system colour n adjusted for display depth
///@}

// ---- Brush indices ------------------------------------------------------------
///@{
/// 0 ... 24 system colours, 100 ... 160 user-interface colours, and:
#define ZQ_UIBRUSH_PATTERN       10000                ///< bitmap 101 of the library
#define ZQ_UIBRUSH_PATTERN8(n)   (10001 + (n))       ///< n 0 ... 15: 8 x 8 monochrome patterns
///@}

///@{
/// Pen styles of ZqGetUIPenWithStyle.
#define ZQ_UIPEN_SOLID   0
#define ZQ_UIPEN_DOT     1
#define ZQ_UIPEN_DIMMED  2
///@}

// ---- Font ids ---------------------------------------------------------------------
///@{
/// 10 ... 14, 16, 17: the stock font of that number, made anew on every call
/// (the caller deletes it). The others are cached by the library.
#define ZQ_UIFONT_NORMAL         100
#define ZQ_UIFONT_FIXED          102
#define ZQ_UIFONT_BOLD           104
#define ZQ_UIFONT_ALT            106
#define ZQ_UIFONT_ALT_BOLD       108
#define ZQ_UIFONT_SMALL          110
#define ZQ_UIFONT_SMALL_BOLD     112
#define ZQ_UIFONT_FIXED_SMALL    120
#define ZQ_UIFONT_LARGE          129
#define ZQ_UIFONT_MEDIUM         130
#define ZQ_UIFONT_MEDIUM_BOLD    134
#define ZQ_UIFONT_CAPTION        140
#define ZQ_UIFONT_SMALL_CAPTION  141
#define ZQ_UIFONT_MENU           142
#define ZQ_UIFONT_STATUS         143
#define ZQ_UIFONT_MESSAGE        144
#define ZQ_UIFONT_ICON_TITLE     145
#define ZQ_UIFONT_ICON_TITLE_BOLD 146
///@}

// ---- Cursor indices -----------------------------------------------------------
///@{
/// 1 ... 56 the library's cursors; 100 ... 149 cursors of the application's
/// main module; 0x7F00 and above the system cursors (IDC_ARROW ...).
#define ZQ_UICURSOR_COUNT         56
#define ZQ_UICURSOR_APP_FIRST     100
#define ZQ_UICURSOR_APP_COUNT     50
#define ZQ_UICURSOR_COLUMN_SIZE   9
#define ZQ_UICURSOR_DRAG_H        11
#define ZQ_UICURSOR_DRAG_V        12
#define ZQ_UICURSOR_DROP_FIRST    18   ///< 18 ... 21
#define ZQ_UICURSOR_NO_DROP       26
#define ZQ_UICURSOR_THUMB1        27
#define ZQ_UICURSOR_THUMB2        28
#define ZQ_UICURSOR_SCROLL_UP     39   ///< 39 ... 46: up, right, down, left,
///@}
                                       ///@{
                                       /// up-right, down-right, up-left, down-left
#define ZQ_UICURSOR_SCROLL_NEUTRAL_V  47
#define ZQ_UICURSOR_SCROLL_NEUTRAL_H  48
#define ZQ_UICURSOR_SCROLL_NEUTRAL    49
#define ZQ_UICURSOR_ORIGIN_V      50
#define ZQ_UICURSOR_ORIGIN_H      51
#define ZQ_UICURSOR_ORIGIN        52
                                       ///@}

// ---- Colours ------------------------------------------------------------------------

/// The COLORREF of a colour index; (COLORREF)-1 for an index outside 0 ... 161
/// by magnitude.
ZQAPI COLORREF WINAPI ZqGetUIColorAbsolute(int index) ZQ_NOTHROW;
/// The same, mapped to the nearest colour the screen shows.
ZQAPI COLORREF WINAPI ZqGetUIColor(int index) ZQ_NOTHROW;
/// Stores an encoded colour for entry 100 ... 161 and returns 1; 0 for any
/// other index. Cached brushes and pens keep their colours.
ZQAPI BOOL WINAPI ZqSetUIColor(int index, DWORD encoded) ZQ_NOTHROW;

// ---- Brushes and pens ----------------------------------------------------------------

/// A cached brush; the stock black brush for an index without one.
ZQAPI HBRUSH WINAPI ZqGetUIBrush(int index) ZQ_NOTHROW;
/// A cached pen of width 1 for colour 0 ... 24 or 100 ... 160: style 0 solid,
/// 1 dotted, 2 solid in the dimmed colour. The stock black pen otherwise.
ZQAPI HPEN WINAPI ZqGetUIPenWithStyle(int index, int style) ZQ_NOTHROW;

// ---- Fonts --------------------------------------------------------------------------

/// The UI font of a ZQ_UIFONT_ id; the library owns cached fonts (do not delete them).
ZQAPI HFONT WINAPI ZqGetUIFont(int id) ZQ_NOTHROW;
/// The extent of "0" in font `id`, measured once; null for ids above 17 that
/// are not user-interface fonts.
ZQAPI const SIZE* WINAPI ZqGetUIFontSize(int id) ZQ_NOTHROW;
/// The extent of "0" in `font` on the screen. 0 for a null `size`.
ZQAPI BOOL WINAPI ZqGetFontSize(HFONT font, SIZE* size) ZQ_NOTHROW;
/// The extent of `text` in `font` (length <= 0: up to the terminator; a null
/// text is empty). 0 for a null `size`.
ZQAPI BOOL WINAPI ZqGetTextExtent(HFONT font, LPCWSTR text, int length, SIZE* size) ZQ_NOTHROW;
/// The character set of the screen.
ZQAPI UINT WINAPI ZqGetUIFontCharset(void) ZQ_NOTHROW;

// ---- Cursors and bitmaps ---------------------------------------------------------------

/// A cached cursor; the system arrow for one that cannot be had.
ZQAPI HCURSOR WINAPI ZqGetUICursor(int index) ZQ_NOTHROW;
/// A bitmap made from a 16-colour bitmap resource with palette entries 0, 7,
/// 8, 15, 11 and 10 replaced by the given colours. A resource that is not a
/// whole 4-bit bitmap with 16 table entries is loaded as it is; null when it
/// is missing, does not begin with a 40-byte information header, or is
/// shorter than its header says. The caller deletes the bitmap.
ZQAPI HBITMAP WINAPI ZqLoadUIBitmapEx(HINSTANCE instance, LPCWSTR resource, COLORREF c0, COLORREF c7,
                                      COLORREF c8, COLORREF c15, COLORREF c11, COLORREF c10) ZQ_NOTHROW;

// ---- HLS ------------------------------------------------------------------------------
///@{
/// Packed HLS: hue in bits 0-7 (0 ... 239, 160 for grey), saturation in bits
/// 8-15 and luminance in bits 16-23 (0 ... 240 each).
#define ZQ_HLS(h, l, s)  ((DWORD)(BYTE)(h) | ((DWORD)(BYTE)(s) << 8) | ((DWORD)(BYTE)(l) << 16))
#define ZQ_HLS_HUE(v)         ((BYTE)(v))
#define ZQ_HLS_SATURATION(v)  ((BYTE)((v) >> 8))
#define ZQ_HLS_LUMINANCE(v)   ((BYTE)((v) >> 16))
///@}

/// Packed HLS: luminance in bits 16–23, saturation in bits 8–15, hue in bits 0–7, each 0 ... 240.
ZQAPI DWORD WINAPI ZqRGBtoHSL(COLORREF rgb) ZQ_NOTHROW;
/// Hues from 240 up wrap round; channels are limited to 255.
ZQAPI COLORREF WINAPI ZqHSLtoRGB(DWORD hls) ZQ_NOTHROW;
