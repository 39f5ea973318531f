// The fader's instance record and what its files share.
#pragma once
#include "sliders/slider.h"
#include "zq/fader.h"

namespace zq::controls {

// One thumb's geometry: its rectangle, the coordinate across the track that
// splits it into an outer and an inner half (stereo), and its pixel along
// the track.
struct FaderThumb {
  RECT rect;
  LONG split;
  LONG pixel;
  LONG reserved[3];
};

struct Fader {
  DWORD style, savedStyle, state;
  LONG min, max, centre;
  LONG values[2];
  LONG channels;
  LONG taperOffset, taperSpan;
  HWND window;   // the window painted in: the fader's own or the host
  LONG id;
  HWND notify;   // null: the parent of the window
  RECT track, control;
  LONG marginStart, marginEnd, trackLength, thumbLength;
  FaderThumb thumbs[2];
  LONG saved[2];      // the values at the press (Escape restores them)
  LONG tracking;      // -1 idle, 0 ... 3 a repeating part, 5 a thumb drag
  BOOL repeating;     // timer 42 runs
  LONG dragOffset[2];
  POINT lastPoint;
  DWORD lastTime;
  LONG lineStep, pageStep;
  DWORD channelMask;
  LONG firstChannel;
  COLORREF background;
  HBITMAP caret;
  HGDIOBJ extra;
  HBITMAP thumbBitmap, thumbMask;
  HIMAGELIST images[3];
  LONG imageMetrics[4];
  LPARAM ownerData;
  ZQFADERSCROLLPROC proc;
  DWORD grabMask;     // the channels the current drag moves
  LONG trackThickness, endInset;
  RECT area;          // the rectangle given by the host or the window's client area
  LONG reserved[2];
};
static_assert(sizeof(Fader) == ZQ_FADERINST_SIZE, "fader instance record");

constexpr UINT_PTR kRepeatTimer = 42;
constexpr UINT kRepeatMs = 250;
constexpr int kThumbMargin = 2;
constexpr int kPriorityChange = 10000;
constexpr int kPriorityController = 5000;

inline Fader* FaderOf(ZQFADERINST* inst) { return reinterpret_cast<Fader*>(inst); }
inline ZQFADERINST* InstOf(Fader* fader) { return reinterpret_cast<ZQFADERINST*>(fader); }

bool IsVertical(const Fader& f);
bool IsStereo(const Fader& f);
slider::Scale ScaleOf(const Fader& f);

// fader_layout.cpp
void PrepareScale(Fader& f);
void Layout(Fader& f);
void PlaceThumbs(Fader& f);
LONG PixelOf(const Fader& f, LONG value);
LONG ValueAt(const Fader& f, LONG along);
LONG Along(const Fader& f, POINT point);
void RederiveRange(Fader& f);
void ClampValues(Fader& f);

// fader_paint.cpp
void Paint(Fader& f, HDC dc);
void PaintThumbs(Fader& f, HDC dc);
void Repaint(Fader& f, int priority);
void ShowFocus(Fader& f);
void HideFocus(Fader& f);
void UpdateFocus(Fader& f);

// fader.cpp
void Report(Fader& f, int code);
void Command(Fader& f, int code);
void SetValues(Fader& f, const LONG* values, DWORD mask, bool repaint);
bool Handle(Fader& f, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

// fader_input.cpp
bool HandleInput(Fader& f, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
void EndTracking(Fader& f, bool restore);
void ApplyCode(Fader& f, int code);

}  // namespace zq::controls
