// What the fader, the trackbar and the spinner share: the taper curve, the
// value <-> pixel mapping, scroll-code arithmetic, the caret focus display
// and off-screen painting. All arithmetic on values uses 64-bit
// intermediates: minimum and maximum may be any 32-bit values.
#pragma once
#include <windows.h>

namespace zq::controls::slider {

// ---- Taper ----------------------------------------------------------------------
// Piecewise linear on the magnitude; the sign carries over.
// Standard: through (0,0) (30,250) (60,400) (120,500) (250,600) (400,800)
// (700,950) (1000,1000); magnitudes above 1000 map to themselves.
// Logarithmic: through (0,0) (20,1000) (40,2000) ... (163840,14000), each
// doubling of the magnitude adding 1000, on to the end of the 32-bit range.
// Curve and inverse in the table's units (the inverse: the smallest value
// at or beyond).
LONG TaperCurve(LONG value, bool logarithmic = false) noexcept;
LONG TaperInverse(LONG value, bool logarithmic = false) noexcept;
// The curve in fine units where every value has a position of its own:
// TaperValue(TaperPosition(v)) == v for every 32-bit v. Between two
// values' positions TaperValue gives the greater value.
LONGLONG TaperPosition(LONG value, bool logarithmic) noexcept;
LONG TaperValue(LONGLONG position, bool logarithmic) noexcept;

// A value range and its mapping onto a track of pixels.
struct Scale {
  LONG min = 0, max = 0;
  bool taper = false;
  bool logarithmic = false;   // the logarithmic curve instead of the standard one
  LONG offset = 0, span = 1;  // taper rescaling kept in the records, from PrepareTaper
};
// span = curve(max) - curve(min) (at least 1); offset = max - curve(max) * (max - min) / span.
void PrepareTaper(Scale& scale) noexcept;
// Pixels from the track start for a value: (v - min) * length / (max - min),
// tapered: (position(v) - position(min)) * length / (position(max) - position(min)),
// the tapered value rescaled to the range in one step; 0 when max = min.
LONG ValueToDistance(const Scale& scale, LONG value, LONG length) noexcept;
// The smallest value whose distance reaches `distance` (so the value maps back
// onto the same pixel); the minimum before the start, the maximum past the end
// or on a track shorter than 2 pixels the minimum.
LONG DistanceToValue(const Scale& scale, LONG distance, LONG length) noexcept;

// ---- Scroll codes ------------------------------------------------------------------------
LONG Clamp(LONGLONG value, LONG min, LONG max) noexcept;
// The page step: `page`, or (max - min + 5) / 10 (at least 1) when it is 0;
// times 10 with Ctrl.
LONGLONG PageStep(LONG min, LONG max, LONG page, bool ctrl) noexcept;
// Codes 0 +line, 1 -line, 2 +page, 3 -page, 6 maximum (0 when the range
// straddles 0 and Ctrl is up), 7 minimum; others leave the value. Clamped
// after the whole step is added.
LONG ApplyScrollCode(int code, LONG value, LONG min, LONG max, LONGLONG line, LONG page, bool ctrl) noexcept;
// Controls whose horizontal form runs toward the left (trackbar, spinner):
// horizontal 0 -line, 1 +line, 2 -page, 3 +page, 6 minimum, 7 maximum;
// vertical as ApplyScrollCode, code 6 keeping the centre rule only with
// `centreRule`.
LONG ApplyOrientedScrollCode(int code, bool vertical, bool centreRule, LONG value, LONG min, LONG max, LONG line,
                             LONG page, bool ctrl) noexcept;
// The stepping code toward the maximum (increase) or the minimum, by a line
// or a page, for such a control.
int OrientedStepCode(bool increase, bool page, bool vertical) noexcept;
// min + (max - min) * digit / 10.
LONG DigitValue(LONG min, LONG max, int digit) noexcept;
// Half of a movement, rounded away from zero.
LONG HalfAwayFromZero(LONG movement) noexcept;
bool CtrlHeld() noexcept;
// The external controller's record (messages 0x7F0A ... 0x7F0E), process-wide.
void* ControllerRecord() noexcept;
void SetControllerRecord(void* record) noexcept;
bool ShiftHeld() noexcept;

// ---- Focus caret ----------------------------------------------------------------------------
// A caret the size of `area` (window coordinates) showing the given thumb
// rectangles, inset by `inset`, in pattern brush 10001. Returns the caret's
// bitmap (the caller deletes it after DestroyCaret), null when none was made.
HBITMAP ShowThumbCaret(HWND window, const RECT& area, const RECT* thumbs, int count, int inset) noexcept;
// A grey caret over one rectangle (image thumbs).
void ShowGreyCaret(HWND window, const RECT& rect) noexcept;
// Destroys the caret `caret` stands for (its bitmap, or 1 for a grey one)
// and clears it; nothing when there is none.
void HideThumbCaret(HBITMAP& caret) noexcept;

// ---- Window classes -----------------------------------------------------------------------------
// Registers a control's class under the caller's name: global, double
// clicks, redrawn on resizing, one pointer of window data for the record.
BOOL RegisterControlClass(HINSTANCE instance, LPCWSTR className, WNDPROC procedure) noexcept;

// ---- Painting ---------------------------------------------------------------------------------
// The process-wide memory DC the controls paint through, made by the first
// user and deleted with the last.
HDC AcquireMemoryDC() noexcept;
void ReleaseMemoryDC() noexcept;
// Paints `rect` of `target` through an off-screen bitmap: `paint` draws into
// a DC whose coordinates are those of the target.
template <typename Paint>
void PaintOffscreen(HDC target, const RECT& rect, Paint paint) noexcept;
// A two-colour gradient, one pixel line at a time (across `vertical` lines
// when true), each channel moving linearly from `from` toward the average of
// the two colours.
void Gradient(HDC dc, const RECT& rect, COLORREF from, COLORREF to, bool vertical) noexcept;
// More than 256 colours on the screen.
bool ManyColours() noexcept;

template <typename Paint>
void PaintOffscreen(HDC target, const RECT& rect, Paint paint) noexcept {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  HDC memory = AcquireMemoryDC();
  HBITMAP bitmap = memory ? CreateCompatibleBitmap(target, width, height) : nullptr;
  if (!bitmap) {
    paint(target);
    if (memory) ReleaseMemoryDC();
    return;
  }
  HGDIOBJ old = SelectObject(memory, bitmap);
  POINT origin;
  SetWindowOrgEx(memory, rect.left, rect.top, &origin);
  paint(memory);
  SetWindowOrgEx(memory, origin.x, origin.y, nullptr);
  BitBlt(target, rect.left, rect.top, width, height, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  ReleaseMemoryDC();
}

}  // namespace zq::controls::slider
