// Painting the trackbar: background, track with its filled part, ticks at
// the ends and the centre, the thumb (flat, bitmap or image list, lit while
// the pointer is over it) and the caret that shows the focus.
#include <initializer_list>

#include "sliders/trackbar_internal.h"
#include "zq/ui.h"

namespace zq::controls {
namespace {

constexpr int kThumbMargin = 2;

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
  SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void Line(HDC dc, int x0, int y0, int x1, int y1, HPEN pen) {
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
  SelectObject(dc, old);
}

COLORREF Halfway(COLORREF a, COLORREF b) {
  return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2, (GetBValue(a) + GetBValue(b)) / 2);
}

// The filled part of the track: from the track's start (the minimum) or
// from the centre, to the value.
void PaintFill(const Trackbar& t, HDC dc, const RECT& inner) {
  if (!(t.state & TBKST_FILL)) return;
  const LONG from = (t.state & TBKST_FILLCENTRE) ? PixelOf(t, t.centre) : PixelOf(t, t.min);
  const LONG to = PixelOf(t, t.value);
  RECT part = inner;
  if (IsVertical(t)) {
    part.top = from < to ? from : to;
    part.bottom = (from < to ? to : from) + 1;
  } else {
    part.left = from < to ? from : to;
    part.right = (from < to ? to : from) + 1;
  }
  IntersectRect(&part, &part, &inner);
  if (!IsRectEmpty(&part)) Fill(dc, part, Halfway(ZqGetUIColor(COLOR_BTNFACE), ZqGetUIColor(COLOR_BTNTEXT)));
}

void PaintTrack(const Trackbar& t, HDC dc) {
  RECT r = t.track;
  if (IsRectEmpty(&r)) return;
  // Sunken edge: shadow above and left, highlight below and right.
  Line(dc, r.left, r.bottom - 1, r.left, r.top, ZqGetUIPenWithStyle(COLOR_BTNSHADOW, 0));
  LineTo(dc, r.right - 1, r.top);
  Line(dc, r.right - 1, r.top, r.right - 1, r.bottom - 1, ZqGetUIPenWithStyle(COLOR_BTNHIGHLIGHT, 0));
  Line(dc, r.left, r.bottom - 1, r.right, r.bottom - 1, ZqGetUIPenWithStyle(COLOR_BTNHIGHLIGHT, 0));
  InflateRect(&r, -1, -1);
  if (IsRectEmpty(&r)) return;
  if (t.state & TBKST_FLATTHUMB) FillRect(dc, &r, ZqGetUIBrush(COLOR_BTNFACE));
  else if (t.state & TBKST_MANYCOLOURS)
    slider::Gradient(dc, r, ZqGetUIColor(COLOR_BTNFACE), ZqGetUIColor(COLOR_BTNSHADOW), IsVertical(t));
  else FillRect(dc, &r, ZqGetUIBrush(0));
  PaintFill(t, dc, r);
}

// Short marks beside the track at the minimum, the centre and the maximum.
void PaintTicks(const Trackbar& t, HDC dc) {
  if (t.trackLength <= 0) return;
  HPEN pen = ZqGetUIPenWithStyle(COLOR_BTNSHADOW, 0);
  for (LONG value : {t.min, t.centre, t.max}) {
    const LONG p = PixelOf(t, value);
    if (IsVertical(t)) Line(dc, t.control.right - 3, p, t.control.right, p, pen);
    else Line(dc, p, t.control.bottom - 3, p, t.control.bottom, pen);
  }
}

void PaintFlatThumb(const Trackbar& t, HDC dc) {
  RECT r = t.thumb;
  const bool disabled = t.state & TBKST_DISABLED;
  COLORREF face = ZqGetUIColor(COLOR_BTNFACE);
  if (!disabled && t.tracking == 5) face = ZqGetUIColor(COLOR_BTNSHADOW);
  else if (!disabled && t.hover == 5) face = ZqGetUIColor(COLOR_BTNHIGHLIGHT);
  Fill(dc, r, face);
  DrawEdge(dc, &r, t.tracking == 5 ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  const LONG p = PixelOf(t, t.value);
  HPEN pen = ZqGetUIPenWithStyle(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT, 0);
  if (IsVertical(t)) Line(dc, r.left + 2, p, r.right - 2, p, pen);
  else Line(dc, p, r.top + 2, p, r.bottom - 2, pen);
}

void PaintBitmapThumb(const Trackbar& t, HDC dc) {
  const RECT& r = t.thumb;
  HDC source = CreateCompatibleDC(dc);
  if (!source) return;
  HGDIOBJ old = SelectObject(source, t.thumbBitmap);
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (t.thumbMask) MaskBlt(dc, r.left, r.top, width, height, source, 0, 0, t.thumbMask, 0, 0, 0xCCAA0029);
  else BitBlt(dc, r.left, r.top, width, height, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

void PaintImageThumb(const Trackbar& t, HDC dc) {
  const int list = (t.state & TBKST_DISABLED) ? 2 : (t.tracking == 5 || t.hover == 5) ? 1 : 0;
  HIMAGELIST images = t.images[list] ? t.images[list] : t.images[0];
  ImageList_Draw(images, IsVertical(t) ? 0 : 1, dc, t.thumb.left, t.thumb.top, ILD_TRANSPARENT);
}

}  // namespace

void PaintThumb(Trackbar& t, HDC dc) {
  if (t.state & TBKST_HIDDEN) return;
  if (t.images[0]) PaintImageThumb(t, dc);
  else if (t.thumbBitmap) PaintBitmapThumb(t, dc);
  else PaintFlatThumb(t, dc);
}

void Paint(Trackbar& t, HDC dc) {
  if (t.state & TBKST_HOSTED) Fill(dc, t.area, t.background);
  if (t.state & TBKST_HIDDEN) return;
  PaintTrack(t, dc);
  PaintTicks(t, dc);
  PaintThumb(t, dc);
}

void Repaint(Trackbar& t) {
  if (t.window) InvalidateRect(t.window, &t.area, FALSE);
  UpdateFocus(t);
}

void ShowFocus(Trackbar& t) {
  HideFocus(t);
  if (!(t.state & TBKST_FOCUS) || (t.state & TBKST_HIDDEN) || !t.window) return;
  if (t.images[0]) {
    slider::ShowGreyCaret(t.window, t.thumb);
    t.caret = reinterpret_cast<HBITMAP>(1);
    return;
  }
  t.caret = slider::ShowThumbCaret(t.window, t.control, &t.thumb, 1, kThumbMargin);
}

void HideFocus(Trackbar& t) { slider::HideThumbCaret(t.caret); }

void UpdateFocus(Trackbar& t) {
  if (t.caret && t.tracking < 0) ShowFocus(t);
}

}  // namespace zq::controls

using namespace zq::controls;

ZQAPI void WINAPI TrackbarInst_Draw(ZQTRACKBARINST* inst, HDC dc) noexcept {
  if (inst && dc) Paint(*TrackbarOf(inst), dc);
}

ZQAPI void WINAPI TrackbarInst_DrawThumb(ZQTRACKBARINST* inst, HDC dc) noexcept {
  if (inst && dc) PaintThumb(*TrackbarOf(inst), dc);
}
