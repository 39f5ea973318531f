/// @file
/// Marker glyphs of time rulers and track views, transparency masks from a
/// key colour, background recolouring, and resources written out to files.
#pragma once
#include "zq/base.h"

///@{
/// Marker shapes; the hollow forms draw the outline of the filled ones.
#define ZQ_MARKER_FLAG_LEFT         0  ///< point hanging down at the left edge
#define ZQ_MARKER_FLAG_RIGHT        1  ///< point hanging down at the right edge
#define ZQ_MARKER_SLANT_RIGHT       2  ///< top edge slanting down to the right
#define ZQ_MARKER_SLANT_LEFT        3  ///< top edge slanting down to the left
#define ZQ_MARKER_HOLLOW            4  ///< add to a shape for its hollow form
///@}

/// Draws a marker filling `rect` in `colour` (0x00BBGGRR), its outline two
/// thirds as bright and its top and left edges lit; `notch` sets how far the
/// pointed part reaches. S_OK; E_POINTER for a null context or rectangle.
ZQAPI HRESULT WINAPI ZqMarker_Create(HDC dc, LPCRECT rect, int shape, COLORREF colour, int notch) ZQ_NOTHROW;

/// A new monochrome mask of the bitmap's size (the caller deletes it): white
/// where the bitmap has the key colour, black elsewhere. The bitmap's
/// key-coloured pixels become black. A null `dc` borrows the screen's.
/// Null when the bitmap cannot be read or the mask cannot be made.
ZQAPI HBITMAP WINAPI ZqCreateBitmapMask(HDC dc, HBITMAP bitmap, COLORREF key) ZQ_NOTHROW;

/// Recolours the pixels of the bitmap selected into `dc` (described by
/// `bitmap`) that have the colour of its top-left pixel. 1, or 0 when the
/// intermediate mask cannot be made; monochrome bitmaps and bitmaps already
/// in the new colour are left alone.
ZQAPI BOOL WINAPI ZqBitmapColorTranslate(HDC dc, const BITMAP* bitmap, COLORREF colour) ZQ_NOTHROW;

/// Writes resource `name` of `type` (found through the language handle) to
/// `path`; the file ends where the writing ended. S_OK; ZQ_E_NOT_FOUND
/// (0x8004E00A) no such resource; E_UNEXPECTED it cannot be loaded or is
/// empty; ZQ_E_FILE_OPEN (0x8004E007) the file cannot be opened;
/// ZQ_E_FILE_WRITE (0x8004E009) the write failed or fell short.
ZQAPI HRESULT WINAPI ZqExtractResourceToFile(HZQLANG lang, LPCWSTR name, LPCWSTR type, LPCWSTR path) ZQ_NOTHROW;
