// The trackbar's instance record and what its files share.
#pragma once
#include "sliders/slider.h"
#include "zq/fader.h"
#include "zq/trackbar.h"

namespace zq::controls {

struct Trackbar {
  DWORD style, savedStyle, state;
  LONG min, max, centre, value;
  LONG taperOffset, taperSpan;
  HWND window;   // the window painted in: the trackbar's own or the host
  LONG id;
  HWND notify;   // null: the parent of the window
  RECT control;
  LONG marginStart, marginEnd;
  LONG trackLength, trackStart;
  RECT track;
  LONG thumbLength;
  RECT thumb;
  LONG hover;         // the part under the pointer (-1 none, 5 the thumb)
  LONG tracking;      // -1 idle, 0 ... 3 a repeating part, 5 a thumb drag
  LONG saved;         // the value at the press (Escape restores it)
  BOOL repeating;     // timer 42 runs
  COLORREF background;
  HBITMAP thumbBitmap, thumbMask;
  LONG bitmapWidth, bitmapHeight;
  HIMAGELIST images[3];
  LONG imageMetrics[4];
  LPARAM ownerData;
  ZQTRACKBARSCROLLPROC proc;
  LONG dragOffset;
  POINT lastPoint;
  DWORD lastTime;
  HBITMAP caret;
  RECT area;          // the rectangle given by the host or the window's client area
  LONG trackThickness;
  BOOL leaveTracked;  // TrackMouseEvent asked for WM_MOUSELEAVE
};
static_assert(sizeof(Trackbar) == ZQ_TRACKBARINST_SIZE, "trackbar instance record");

inline Trackbar* TrackbarOf(ZQTRACKBARINST* inst) { return reinterpret_cast<Trackbar*>(inst); }
inline ZQTRACKBARINST* InstOf(Trackbar* t) { return reinterpret_cast<ZQTRACKBARINST*>(t); }

inline bool IsVertical(const Trackbar& t) { return t.style & TBKS_VERT; }
inline bool IsUsable(const Trackbar& t) { return !(t.state & (TBKST_DISABLED | TBKST_HIDDEN)); }
HWND NotifyWindow(const Trackbar& t);

// trackbar_layout.cpp
slider::Scale ScaleOf(const Trackbar& t);
void PrepareScale(Trackbar& t);
void Layout(Trackbar& t);
void PlaceThumb(Trackbar& t);
LONG PixelOf(const Trackbar& t, LONG value);
LONG ValueAt(const Trackbar& t, LONG along);
LONG Along(const Trackbar& t, POINT point);
void RederiveRange(Trackbar& t);

// trackbar_paint.cpp
void Paint(Trackbar& t, HDC dc);
void PaintThumb(Trackbar& t, HDC dc);
void Repaint(Trackbar& t);
void ShowFocus(Trackbar& t);
void HideFocus(Trackbar& t);
void UpdateFocus(Trackbar& t);

// trackbar.cpp
void Report(Trackbar& t, int code, LONG value);
void Command(Trackbar& t, int code);
void SetValue(Trackbar& t, LONG value, bool repaint);

// trackbar_input.cpp
bool HandleInput(Trackbar& t, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
void EndTracking(Trackbar& t, bool restore);

}  // namespace zq::controls
