// Painting the fader: background, track, tick scale and thumbs (drawn,
// bitmap or image list), and the caret that shows the focus.

#include "sliders/fader_internal.h"
#include "zq/ui.h"

namespace zq::controls {
namespace {

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

void PaintTrack(const Fader& f, HDC dc) {
  RECT r = f.track;
  if (IsRectEmpty(&r)) return;
  // Sunken edge: shadow above and left, highlight below and right, then a
  // frame and the face inside.
  Line(dc, r.left, r.bottom - 1, r.left, r.top, ZqGetUIPenWithStyle(COLOR_BTNSHADOW, 0));
  LineTo(dc, r.right - 1, r.top);
  Line(dc, r.right - 1, r.top, r.right - 1, r.bottom - 1, ZqGetUIPenWithStyle(COLOR_BTNHIGHLIGHT, 0));
  Line(dc, r.left, r.bottom - 1, r.right, r.bottom - 1, ZqGetUIPenWithStyle(COLOR_BTNHIGHLIGHT, 0));
  InflateRect(&r, -1, -1);
  if (IsRectEmpty(&r)) return;
  FrameRect(dc, &r, ZqGetUIBrush(COLOR_WINDOWFRAME));
  InflateRect(&r, -1, -1);
  if (IsRectEmpty(&r)) return;
  if (f.state & FADST_MANYCOLOURS)
    slider::Gradient(dc, r, ZqGetUIColor(COLOR_BTNSHADOW), ZqGetUIColor(COLOR_BTNFACE), IsVertical(f));
  else
    FillRect(dc, &r, ZqGetUIBrush(COLOR_BTNFACE));
}

void PaintTicks(const Fader& f, HDC dc) {
  if (!(f.style & FADS_TICKS_MASK) || f.trackLength <= 0) return;
  HPEN pen = ZqGetUIPenWithStyle(COLOR_BTNSHADOW, 0);
  const bool vertical = IsVertical(f);
  // Every 10 pixels, centred in the length the thumbs travel.
  const LONG first = (f.trackLength % 10) / 2;
  for (LONG d = first; d <= f.trackLength; d += 10) {
    if (vertical) {
      const LONG y = f.track.bottom - f.marginEnd - d;
      Line(dc, f.control.left, y, f.track.left - 1, y, pen);
      Line(dc, f.track.right + 1, y, f.control.right, y, pen);
    } else {
      const LONG x = f.track.left + f.marginStart + d;
      Line(dc, x, f.control.top, x, f.track.top - 1, pen);
      Line(dc, x, f.track.bottom + 1, x, f.control.bottom, pen);
    }
  }
}

void PaintDrawnThumb(const Fader& f, HDC dc, int channel) {
  RECT r = f.thumbs[channel].rect;
  const bool vertical = IsVertical(f);
  if (f.state & FADST_MANYCOLOURS) {
    RECT face = r;
    InflateRect(&face, -1, -1);
    slider::Gradient(dc, face, ZqGetUIColor(COLOR_BTNHIGHLIGHT), ZqGetUIColor(COLOR_BTNFACE), !vertical);
  } else {
    FillRect(dc, &r, ZqGetUIBrush(COLOR_BTNFACE));
  }
  DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
  // The grip line across the thumb at its value; the second stereo thumb
  // has a double line.
  const int colour = (f.state & FADST_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT;
  HPEN pen = ZqGetUIPenWithStyle(colour, 0);
  const LONG p = f.thumbs[channel].pixel;
  if (vertical) {
    Line(dc, r.left + 2, p, r.right - 2, p, pen);
    if (channel == 1) Line(dc, r.left + 2, p - 2, r.right - 2, p - 2, pen);
  } else {
    Line(dc, p, r.top + 2, p, r.bottom - 2, pen);
    if (channel == 1) Line(dc, p - 2, r.top + 2, p - 2, r.bottom - 2, pen);
  }
}

void PaintBitmapThumb(const Fader& f, HDC dc, int channel) {
  const RECT& r = f.thumbs[channel].rect;
  HDC source = CreateCompatibleDC(dc);
  if (!source) return;
  HGDIOBJ old = SelectObject(source, f.thumbBitmap);
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (f.thumbMask) MaskBlt(dc, r.left, r.top, width, height, source, 0, 0, f.thumbMask, 0, 0, 0xCCAA0029);
  else BitBlt(dc, r.left, r.top, width, height, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

void PaintImageThumb(const Fader& f, HDC dc, int channel) {
  const int list = (f.state & FADST_DISABLED) ? 2 : f.tracking == 5 ? 1 : 0;
  HIMAGELIST images = f.images[list] ? f.images[list] : f.images[0];
  const RECT& r = f.thumbs[channel].rect;
  ImageList_Draw(images, IsVertical(f) ? 0 : 1, dc, r.left, r.top, ILD_TRANSPARENT);
}

}  // namespace

void PaintThumbs(Fader& f, HDC dc) {
  if (f.state & FADST_HIDDEN) return;
  for (int c = 0; c < f.channels; ++c) {
    if (f.images[0]) PaintImageThumb(f, dc, c);
    else if (f.thumbBitmap) PaintBitmapThumb(f, dc, c);
    else PaintDrawnThumb(f, dc, c);
  }
}

void Paint(Fader& f, HDC dc) {
  Fill(dc, f.area, f.background);
  if (f.state & FADST_HIDDEN) return;
  PaintTicks(f, dc);
  PaintTrack(f, dc);
  PaintThumbs(f, dc);
}

void Repaint(Fader& f, int /*priority*/) {
  if (f.window) InvalidateRect(f.window, &f.area, FALSE);
  UpdateFocus(f);
}

void ShowFocus(Fader& f) {
  HideFocus(f);
  if (!(f.state & FADST_FOCUS) || (f.state & FADST_HIDDEN) || !f.window) return;
  if (f.images[0]) {
    const int c = f.firstChannel >= 0 && f.firstChannel < f.channels ? f.firstChannel : 0;
    slider::ShowGreyCaret(f.window, f.thumbs[c].rect);
    f.caret = reinterpret_cast<HBITMAP>(1);
    return;
  }
  RECT thumbs[2];
  int count = 0;
  for (int c = 0; c < f.channels; ++c)
    if (f.channelMask & (1u << c)) thumbs[count++] = f.thumbs[c].rect;
  f.caret = slider::ShowThumbCaret(f.window, f.control, thumbs, count, kThumbMargin);
}

void HideFocus(Fader& f) { slider::HideThumbCaret(f.caret); }

void UpdateFocus(Fader& f) {
  if (f.caret && f.tracking < 0) ShowFocus(f);
}

}  // namespace zq::controls

using namespace zq::controls;

ZQAPI void WINAPI FaderInst_Draw(ZQFADERINST* inst, HDC dc) noexcept {
  if (inst && dc) Paint(*FaderOf(inst), dc);
}

ZQAPI void WINAPI FaderInst_DrawThumb(ZQFADERINST* inst, HDC dc) noexcept {
  if (inst && dc) PaintThumbs(*FaderOf(inst), dc);
}
