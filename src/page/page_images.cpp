// The page's toolbar images: small glyphs drawn into 16 x 16 image lists,
// in the order of the toolbar buttons.
#include <windows.h>
#include <commctrl.h>

#include "page/page_object.h"

namespace quillet {

namespace {

constexpr int kSize = 16;
constexpr COLORREF kMask = RGB(255, 0, 255);

enum Glyph { kAdd, kDelete, kFunnel, kFunnelPlay, kLoop, kPlayFromStart, kPlay, kPause, kStop, kGoToStart };

void Polygon(HDC dc, std::initializer_list<POINT> points) {
  ::Polygon(dc, points.begin(), static_cast<int>(points.size()));
}

void Bar(HDC dc, int left, int top, int right, int bottom) { Rectangle(dc, left, top, right, bottom); }

void DrawGlyph(HDC dc, Glyph glyph, COLORREF ink) {
  HBRUSH brush = CreateSolidBrush(ink);
  HPEN pen = CreatePen(PS_SOLID, 1, ink);
  HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
  switch (glyph) {
    case kAdd:
      Bar(dc, 7, 3, 9, 13);
      Bar(dc, 3, 7, 13, 9);
      break;
    case kDelete:
      Bar(dc, 3, 7, 13, 9);
      break;
    case kFunnel:
    case kFunnelPlay:
      Polygon(dc, {{2, 3}, {13, 3}, {9, 8}, {9, 13}, {6, 13}, {6, 8}});
      if (glyph == kFunnelPlay) Polygon(dc, {{11, 9}, {15, 12}, {11, 15}});
      break;
    case kLoop: {
      HGDIOBJ hollow = SelectObject(dc, GetStockObject(NULL_BRUSH));
      HPEN thick = CreatePen(PS_SOLID, 2, ink);
      HGDIOBJ previous = SelectObject(dc, thick);
      RoundRect(dc, 2, 4, 14, 12, 6, 6);
      SelectObject(dc, previous);
      DeleteObject(thick);
      SelectObject(dc, hollow);
      Polygon(dc, {{9, 1}, {12, 4}, {9, 7}});
      break;
    }
    case kPlayFromStart:
      Bar(dc, 3, 3, 5, 13);
      Polygon(dc, {{6, 3}, {13, 8}, {6, 13}});
      break;
    case kPlay:
      Polygon(dc, {{4, 2}, {12, 8}, {4, 14}});
      break;
    case kPause:
      Bar(dc, 4, 3, 7, 13);
      Bar(dc, 9, 3, 12, 13);
      break;
    case kStop:
      Bar(dc, 4, 4, 12, 12);
      break;
    case kGoToStart:
      Bar(dc, 3, 3, 5, 13);
      Polygon(dc, {{13, 3}, {6, 8}, {13, 13}});
      break;
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

HIMAGELIST MakeList(std::initializer_list<Glyph> glyphs, COLORREF ink) {
  HIMAGELIST list = ImageList_Create(kSize, kSize, ILC_COLOR24 | ILC_MASK, static_cast<int>(glyphs.size()), 0);
  if (!list) return nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  for (Glyph glyph : glyphs) {
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kSize, kSize);
    if (!bitmap) continue;
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, kSize, kSize};
    HBRUSH background = CreateSolidBrush(kMask);
    FillRect(dc, &all, background);
    DeleteObject(background);
    DrawGlyph(dc, glyph, ink);
    SelectObject(dc, old);
    ImageList_AddMasked(list, bitmap, kMask);
    DeleteObject(bitmap);
  }
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return list;
}

}  // namespace

void CreatePageImages(HIMAGELIST images[3]) noexcept {
  const COLORREF ink = RGB(32, 32, 32), dimmed = GetSysColor(COLOR_GRAYTEXT);
  images[0] = MakeList({kAdd, kDelete, kFunnel, kFunnelPlay}, ink);
  images[1] = MakeList({kLoop, kPlayFromStart, kPlay, kPause, kStop, kGoToStart}, ink);
  images[2] = MakeList({kLoop, kPlayFromStart, kPlay, kPause, kStop, kGoToStart}, dimmed);
}

}  // namespace quillet
