// Marker glyphs rasterised and checked against their point lists: the
// interior, the outline and the lit edges each on their own, since the
// edge pixels follow the system's line and fill rules.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <vector>

#include "controls_test_support.h"
#include "screenshot.h"
#include "zq/marker.h"

namespace {

using controlstest::Canvas;
using controlstest::Rgb;

struct Pt {
  int x, y;
};

// The glyph's points, written from the shapes' table.
std::vector<Pt> Points(int shape, const RECT& r, int notch, int* eOut, int* drawnOut) {
  const int H = r.bottom - r.top, W = r.right - r.left;
  const int e = std::max(0, std::min(W, H - notch));
  const int drawn = std::min(W, H - 1);
  const int l = r.left, t = r.top, o = l + drawn - 1, B = t + H - 1;
  *eOut = e;
  *drawnOut = drawn;
  const bool notched = 0 < e && e < drawn;
  switch (shape % 4) {
    case 1:
      if (notched) return {{l, B - e + 1}, {l, t}, {o, t}, {o, B}, {l + drawn - e, B - e + 1}, {l, B - e + 1}};
      return {{l, B - e + 1}, {l, t}, {o, t}, {o, B}, {l, B - e + 1}};
    case 2:
      return {{l, B}, {l, t}, {o, t + e - 1}, {o, B}, {l, B}};
    case 3:
      return {{l, B}, {l, t + e - 1}, {o, t}, {o, B}, {l, B}};
    default:
      if (notched) return {{l, B}, {l, t}, {o, t}, {o, B - e + 1}, {l + e - 1, B - e + 1}, {l, B}};
      return {{l, B}, {l, t}, {o, t}, {o, B - e + 1}, {l, B}};
  }
}

double SegmentDistance(double px, double py, Pt a, Pt b) {
  const double dx = b.x - a.x, dy = b.y - a.y, length = dx * dx + dy * dy;
  double s = length > 0 ? ((px - a.x) * dx + (py - a.y) * dy) / length : 0;
  s = std::max(0.0, std::min(1.0, s));
  return std::hypot(px - (a.x + s * dx), py - (a.y + s * dy));
}

// Even-odd rule on the pixel's position.
bool InsidePolygon(double px, double py, const std::vector<Pt>& poly) {
  bool inside = false;
  for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const Pt a = poly[i], b = poly[j];
    if ((a.y > py) != (b.y > py) && px < (b.x - a.x) * (py - a.y) / double(b.y - a.y) + a.x) inside = !inside;
  }
  return inside;
}

// The pixels of a segment that lies on a row or a column, end included.
std::vector<Pt> AxisPixels(Pt a, Pt b) {
  std::vector<Pt> pixels;
  const int steps = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
  for (int i = 0; i <= steps; ++i)
    pixels.push_back({a.x + (b.x - a.x) * i / std::max(steps, 1), a.y + (b.y - a.y) * i / std::max(steps, 1)});
  return pixels;
}

constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kColour = RGB(200, 100, 50);
constexpr COLORREF kOutline = RGB(133, 66, 33);     // 2c / 3
constexpr COLORREF kHighlight = RGB(218, 151, 118);  // (2c + 255) / 3

struct Case {
  int shape;
  RECT rect;
  int notch;
};

void CheckMarker(const Case& c) {
  Canvas canvas(64, 48);
  canvas.Fill(kBackground);
  ASSERT_EQ(ZqMarker_Create(canvas.dc(), &c.rect, c.shape, kColour, c.notch), S_OK);
  GdiFlush();
  int e = 0, drawn = 0;
  const std::vector<Pt> poly = Points(c.shape, c.rect, c.notch, &e, &drawn);
  const bool hollow = c.shape > 3;
  RECT inner{};
  if (hollow) {
    inner = c.shape % 4 <= 1 ? RECT{c.rect.left + 2, c.rect.top + 2, c.rect.left + drawn - 2, c.rect.bottom - e - 1}
                             : RECT{c.rect.left + 2, c.rect.top + e + 1, c.rect.left + drawn - 2, c.rect.bottom - 2};
  }
  const DWORD face = Rgb(GetSysColor(COLOR_BTNFACE));

  // Interior and exterior: every pixel more than a pixel away from the outline.
  int interior = 0;
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      if (PtInRect(&inner, POINT{x, y})) {
        ASSERT_EQ(canvas.Pixel(x, y), face) << x << "," << y;
        continue;
      }
      double distance = 1e9;
      for (size_t i = 0; i + 1 < poly.size(); ++i)
        distance = std::min(distance, SegmentDistance(x, y, poly[i], poly[i + 1]));
      distance = std::min(distance, SegmentDistance(x, y, poly.back(), poly.front()));
      if (distance <= 1.0) continue;
      const bool inside = InsidePolygon(x, y, poly);
      interior += inside;
      ASSERT_EQ(canvas.Pixel(x, y), Rgb(inside ? kColour : kBackground)) << x << "," << y << " inside " << inside;
    }
  }
  if (!hollow && drawn > 3) {
    EXPECT_GT(interior, 0);
  }

  // The lit edges: third point to second to first, each line without its
  // last pixel (a slanted line: its first pixel, the rest checked below).
  std::vector<Pt> lit;
  for (int s = 2; s >= 1; --s) {
    const Pt from = poly[s], to = poly[s - 1];
    if (from.x == to.x && from.y == to.y) continue;
    if (from.x != to.x && from.y != to.y) {
      lit.push_back(from);
      continue;
    }
    std::vector<Pt> pixels = AxisPixels(from, to);
    pixels.pop_back();
    lit.insert(lit.end(), pixels.begin(), pixels.end());
  }
  for (const Pt& p : lit) EXPECT_EQ(canvas.Pixel(p.x, p.y), Rgb(kHighlight)) << "lit " << p.x << "," << p.y;

  // The outline: the other straight edges in the outline colour.
  for (size_t i = 2; i < poly.size(); ++i) {
    const Pt a = poly[i], b = poly[(i + 1) % poly.size()];
    if (a.x != b.x && a.y != b.y) {
      // A slanted edge: in every column it crosses, a pixel near it in the outline colour.
      for (int x = std::min(a.x, b.x) + 1; x < std::max(a.x, b.x); ++x) {
        const double y = a.y + (b.y - a.y) * double(x - a.x) / (b.x - a.x);
        bool found = false;
        for (int yy = int(std::floor(y)) - 1; yy <= int(std::ceil(y)) + 1; ++yy)
          found = found || (yy >= 0 && yy < canvas.height() && canvas.Pixel(x, yy) == Rgb(kOutline));
        EXPECT_TRUE(found) << "slant column " << x;
      }
      continue;
    }
    for (const Pt& p : AxisPixels(a, b)) {
      bool isLit = false;
      for (const Pt& q : lit) isLit = isLit || (q.x == p.x && q.y == p.y);
      if (!isLit && p.y < canvas.height()) {
        EXPECT_EQ(canvas.Pixel(p.x, p.y), Rgb(kOutline)) << "edge " << p.x << "," << p.y;
      }
    }
  }
  // A slanted lit edge (shapes 2 and 3): lit pixels in every column it crosses.
  for (int s = 2; s >= 1; --s) {
    const Pt a = poly[s], b = poly[s - 1];
    if (a.x == b.x || a.y == b.y) continue;
    for (int x = std::min(a.x, b.x) + 1; x < std::max(a.x, b.x); ++x) {
      bool found = false;
      for (int y = 0; y < canvas.height(); ++y) found = found || canvas.Pixel(x, y) == Rgb(kHighlight);
      EXPECT_TRUE(found) << "lit slant column " << x;
    }
  }
}

TEST(MarkerGlyphs, EveryShapeFollowsItsPointList) {
  const RECT square{10, 8, 30, 29};   // W 20, H 21: 20 wide
  const RECT wide{4, 10, 44, 26};     // W 40, H 16: only 15 wide
  for (int shape = 0; shape < 8; ++shape)
    for (const RECT& rect : {square, wide})
      for (int notch : {int(rect.bottom - rect.top), 14, 9, 0}) {
        SCOPED_TRACE(testing::Message() << "shape " << shape << " rect " << rect.right - rect.left << "x"
                                        << rect.bottom - rect.top << " notch " << notch);
        CheckMarker(Case{shape, rect, notch});
        if (HasFatalFailure()) return;
      }
}

TEST(MarkerGlyphs, ANotchAsHighAsTheRectangleGivesAPlainBlock) {
  const RECT rect{2, 2, 14, 18};  // W 12, H 16: e = 0
  for (int shape : {0, 1}) {
    int e = -1, drawn = 0;
    EXPECT_EQ(Points(shape, rect, 16, &e, &drawn).size(), 5u);
    EXPECT_EQ(e, 0);
    Canvas canvas(20, 24);
    canvas.Fill(kBackground);
    ZqMarker_Create(canvas.dc(), &rect, shape, kColour, 16);
    GdiFlush();
    for (int y = 3; y < 17; ++y)
      for (int x = 3; x < 13; ++x) EXPECT_EQ(canvas.Pixel(x, y), Rgb(kColour)) << x << "," << y;
    // Nothing right of the drawn width, the context's objects given back.
    for (int y = 0; y < 24; ++y) EXPECT_EQ(canvas.Pixel(14, y), Rgb(kBackground));
    EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
  }
  EXPECT_EQ(ZqMarker_Create(nullptr, &rect, 0, kColour, 0), E_POINTER);
  Canvas canvas(4, 4);
  EXPECT_EQ(ZqMarker_Create(canvas.dc(), nullptr, 0, kColour, 0), E_POINTER);
}

TEST(MarkerGlyphs, TheEightShapesOnScreen) {
  controlstest::TestWindow window(0, 40, 40, 8 * 36 + 8, 2 * 36 + 8);
  window.onPaint = [](HDC dc) {
    const COLORREF colours[] = {RGB(220, 40, 40), RGB(40, 160, 60), RGB(50, 90, 220), RGB(230, 180, 30)};
    for (int shape = 0; shape < 8; ++shape)
      for (int row = 0; row < 2; ++row) {
        const RECT rect{8 + shape * 36, 8 + row * 36, 8 + shape * 36 + 28, 8 + row * 36 + 29};
        ZqMarker_Create(dc, &rect, shape, colours[shape % 4], row ? 20 : 12);
      }
  };
  InvalidateRect(window.hwnd(), nullptr, TRUE);
  UpdateWindow(window.hwnd());
  const auto shot = testsupport::SaveWindowScreenshot(window.hwnd(), L"skins_markers");
  EXPECT_TRUE(shot.saved);
  EXPECT_GT(shot.colours, 8);
}

}  // namespace
