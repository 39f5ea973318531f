// Marker glyphs: a flag or a slanted block filling a rectangle, filled in
// the marker's colour, outlined two thirds as bright, its top and left
// edges lit; the hollow shapes keep only a frame around the button face.
#include "zq/marker.h"
#include "zq/ui.h"

namespace {

constexpr int kButtonFace = 15;  // COLOR_BTNFACE

COLORREF Scaled(COLORREF colour, int add) noexcept {
  auto channel = [add](BYTE c) { return static_cast<BYTE>((2 * c + add) / 3); };
  return RGB(channel(GetRValue(colour)), channel(GetGValue(colour)), channel(GetBValue(colour)));
}

// The polygon of a shape (0 ... 3) in the rectangle; returns the point count.
int Outline(int form, LONG l, LONG t, LONG o, LONG B, int e, int drawnWidth, POINT* points) noexcept {
  int n = 0;
  auto add = [&](LONG x, LONG y) { points[n++] = POINT{x, y}; };
  const bool notched = e > 0 && e < drawnWidth;
  switch (form) {
    case 1:
      add(l, B - e + 1), add(l, t), add(o, t), add(o, B);
      if (notched) add(l + drawnWidth - e, B - e + 1);
      add(l, B - e + 1);
      break;
    case 2:
      add(l, B), add(l, t), add(o, t + e - 1), add(o, B), add(l, B);
      break;
    case 3:
      add(l, B), add(l, t + e - 1), add(o, t), add(o, B), add(l, B);
      break;
    default:
      add(l, B), add(l, t), add(o, t), add(o, B - e + 1);
      if (notched) add(l + e - 1, B - e + 1);
      add(l, B);
      break;
  }
  return n;
}

int FormOf(int shape) noexcept {
  switch (shape) {
    case 1: case 5: return 1;
    case 2: case 6: return 2;
    case 3: case 7: return 3;
    default: return 0;
  }
}

}  // namespace

ZQAPI HRESULT WINAPI ZqMarker_Create(HDC dc, LPCRECT rect, int shape, COLORREF colour, int notch) noexcept {
  if (!dc || !rect) return E_POINTER;
  const LONG l = rect->left, t = rect->top;
  const int height = rect->bottom - rect->top, width = rect->right - rect->left;
  int e = height - notch;
  if (e > width) e = width;
  if (e < 0) e = 0;
  const int drawnWidth = width < height - 1 ? width : height - 1;
  if (drawnWidth <= 0 || height <= 0) return S_OK;
  const LONG o = l + drawnWidth - 1, B = t + height - 1;
  const int form = FormOf(shape);

  POINT points[6];
  const int count = Outline(form, l, t, o, B, e, drawnWidth, points);
  colour &= 0x00FFFFFF;
  HBRUSH fill = CreateSolidBrush(colour);
  HPEN outline = CreatePen(PS_SOLID, 1, Scaled(colour, 0));
  HPEN highlight = CreatePen(PS_SOLID, 1, Scaled(colour, 255));
  if (fill && outline && highlight) {
    HGDIOBJ oldBrush = SelectObject(dc, fill);
    HGDIOBJ oldPen = SelectObject(dc, outline);
    Polygon(dc, points, count);
    SelectObject(dc, highlight);
    POINT previous;
    MoveToEx(dc, points[2].x, points[2].y, &previous);
    LineTo(dc, points[1].x, points[1].y);
    LineTo(dc, points[0].x, points[0].y);
    MoveToEx(dc, previous.x, previous.y, nullptr);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    if (shape > 3) {
      // The face stops one pixel inside the drawn right edge, as it does on
      // the left: a rectangle wider than the glyph keeps its outside.
      const LONG right = l + drawnWidth - 2;
      RECT inner = form <= 1 ? RECT{l + 2, t + 2, right, rect->bottom - e - 1}
                             : RECT{l + 2, t + e + 1, right, rect->bottom - 2};
      if (!IsRectEmpty(&inner)) FillRect(dc, &inner, ZqGetUIBrush(kButtonFace));
    }
  }
  if (highlight) DeleteObject(highlight);
  if (outline) DeleteObject(outline);
  if (fill) DeleteObject(fill);
  return S_OK;
}
