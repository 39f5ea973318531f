// User-interface colours, brushes, pens and the packed HLS conversion,
// checked against the platform's own colours, objects and HLS functions.
#include <gtest/gtest.h>
#include <shlwapi.h>
#include <windows.h>

#include <climits>
#include <cstdlib>
#include <set>
#include <vector>

#include "controls_test_support.h"
#include "screenshot.h"
#include "zq/kernel.h"
#include "zq/ui.h"

using controlstest::Canvas;
using controlstest::Rgb;

namespace {

// The module's default colour table, read straight from its resource.
std::vector<DWORD> DefaultTable() {
  HMODULE module = controlstest::Library();
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(100), RT_RCDATA);
  if (!found || SizeofResource(module, found) != 62 * sizeof(DWORD)) return {};
  auto data = static_cast<const DWORD*>(LockResource(LoadResource(module, found)));
  return std::vector<DWORD>(data, data + 62);
}

LOGBRUSH BrushOf(HBRUSH brush) {
  LOGBRUSH log{};
  EXPECT_EQ(GetObjectW(brush, sizeof(log), &log), static_cast<int>(sizeof(log)));
  return log;
}

LOGPEN PenOf(HPEN pen) {
  LOGPEN log{};
  EXPECT_EQ(GetObjectW(pen, sizeof(log), &log), static_cast<int>(sizeof(log)));
  return log;
}

void ResetColours() { ZqKernel_UserPrefChanges(nullptr, WM_SYSCOLORCHANGE, 0, 0); }

std::vector<int> BrushIndices() {
  std::vector<int> indices;
  for (int i = 0; i <= 24; ++i) indices.push_back(i);
  for (int i = 100; i <= 160; ++i) indices.push_back(i);
  return indices;
}

TEST(UiColors, SystemIndicesAndRangeLimits) {
  for (int i = 0; i <= 30; ++i) {
    EXPECT_EQ(ZqGetUIColorAbsolute(i), GetSysColor(i)) << i;
    EXPECT_EQ(ZqGetUIColorAbsolute(-i), GetSysColor(i)) << -i;
  }
  EXPECT_EQ(ZqGetUIColorAbsolute(-5), GetSysColor(5));
  for (int bad : {162, -162, 1000, INT_MAX, INT_MIN, INT_MIN + 1}) {
    EXPECT_EQ(ZqGetUIColorAbsolute(bad), CLR_INVALID) << bad;
    EXPECT_EQ(ZqGetUIColor(bad), CLR_INVALID) << bad;
  }
}

TEST(UiColors, DefaultTableDecodesEachEncoding) {
  ResetColours();
  const std::vector<DWORD> table = DefaultTable();
  ASSERT_EQ(table.size(), 62u);
  int plain = 0, system = 0, adjusted = 0;
  for (int i = 0; i < 62; ++i) {
    const DWORD encoded = table[i];
    const int n = encoded & 0xFFFFFF;
    const int index = 100 + i;
    switch (encoded >> 24) {
      case 0x00:
        ++plain;
        EXPECT_EQ(ZqGetUIColorAbsolute(index), encoded) << index;
        break;
      case 0x04:
        ++system;
        EXPECT_EQ(ZqGetUIColorAbsolute(index), GetSysColor(n)) << index;
        break;
      case 0x05:
        ++adjusted;  // checked in AdjustedSystemColoursMoveMidGreys
        break;
      default:
        ADD_FAILURE() << "unknown encoding " << std::hex << encoded;
    }
    EXPECT_EQ(ZqGetUIColorAbsolute(-index), ZqGetUIColorAbsolute(index)) << index;
    // On a true-colour screen the nearest colour is the colour itself.
    EXPECT_EQ(ZqGetUIColor(index), ZqGetUIColorAbsolute(index)) << index;
  }
  EXPECT_GT(plain, 0);
  EXPECT_GT(system, 0);
  EXPECT_GT(adjusted, 0);
}

TEST(UiColors, SetChangesTheTableButNotTheDefaultsOrCachedObjects) {
  ResetColours();
  const COLORREF original = ZqGetUIColorAbsolute(122);
  HBRUSH brush = ZqGetUIBrush(122);
  HPEN pen = ZqGetUIPenWithStyle(122, ZQ_UIPEN_SOLID);
  ASSERT_NE(original, RGB(1, 2, 3));

  EXPECT_TRUE(ZqSetUIColor(122, RGB(1, 2, 3)));
  EXPECT_EQ(ZqGetUIColorAbsolute(122), RGB(1, 2, 3));
  EXPECT_EQ(ZqGetUIColorAbsolute(-122), original);
  EXPECT_TRUE(ZqSetUIColor(123, ZQ_UICOLOR_SYS(COLOR_HIGHLIGHT)));
  EXPECT_EQ(ZqGetUIColorAbsolute(123), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_TRUE(ZqSetUIColor(161, RGB(9, 9, 9)));
  EXPECT_EQ(ZqGetUIColorAbsolute(161), RGB(9, 9, 9));
  for (int bad : {99, 162, -122, 0, 5}) EXPECT_FALSE(ZqSetUIColor(bad, RGB(7, 7, 7))) << bad;

  // Cached objects keep their colour until the system colours change.
  EXPECT_EQ(ZqGetUIBrush(122), brush);
  EXPECT_EQ(BrushOf(brush).lbColor, original);
  EXPECT_EQ(PenOf(ZqGetUIPenWithStyle(122, ZQ_UIPEN_SOLID)).lopnColor, original);
  (void)pen;

  ResetColours();  // as WM_SYSCOLORCHANGE through the preference handler
  EXPECT_EQ(ZqGetUIColorAbsolute(122), original);
  EXPECT_EQ(ZqGetUIColorAbsolute(123), ZqGetUIColorAbsolute(-123));
  EXPECT_EQ(BrushOf(ZqGetUIBrush(122)).lbColor, original);
  ZqSetUIColor(122, RGB(1, 2, 3));
  ResetColours();
  EXPECT_EQ(BrushOf(ZqGetUIBrush(122)).lbColor, original);  // made anew
}

// Greys of middle luminance move to 90 or 150 on deep screens and stay grey;
// coloured and very light or dark system colours stay as they are.
TEST(UiColors, AdjustedSystemColoursMoveMidGreys) {
  HDC screen = GetDC(nullptr);
  ASSERT_GT(GetDeviceCaps(screen, BITSPIXEL), 8);
  ReleaseDC(nullptr, screen);
  const int element = COLOR_BTNSHADOW;
  const COLORREF saved = GetSysColor(element);
  struct Case {
    COLORREF system, expected;
  } cases[] = {
      {RGB(128, 128, 128), RGB(95, 95, 95)},     // luminance 120 -> 90
      {RGB(140, 140, 140), RGB(159, 159, 159)},  // luminance 131 -> 150
      {RGB(97, 97, 97), RGB(95, 95, 95)},        // luminance 91 -> 90
      {RGB(96, 96, 96), RGB(96, 96, 96)},        // luminance 90: unchanged
      {RGB(155, 155, 155), RGB(159, 159, 159)},  // luminance 145 -> 150
      {RGB(200, 200, 200), RGB(200, 200, 200)},  // light: unchanged
      {RGB(40, 40, 40), RGB(40, 40, 40)},        // dark: unchanged
      {RGB(160, 100, 100), RGB(160, 100, 100)},  // saturated: unchanged
  };
  ZqSetUIColor(150, ZQ_UICOLOR_SYSADJ(element));
  for (const Case& c : cases) {
    INT elements[] = {element};
    COLORREF colours[] = {c.system};
    ASSERT_TRUE(SetSysColors(1, elements, colours));
    EXPECT_EQ(ZqGetUIColorAbsolute(150), c.expected) << std::hex << c.system;
  }
  INT elements[] = {element};
  COLORREF colours[] = {saved};
  SetSysColors(1, elements, colours);
  ResetColours();
}

TEST(UiBrushesAndPens, CachedPerIndexAndCheckedAgainstThePlatform) {
  ResetColours();
  std::set<HGDIOBJ> distinct;
  for (int index : BrushIndices()) {
    HBRUSH brush = ZqGetUIBrush(index);
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(ZqGetUIBrush(index), brush) << index;
    EXPECT_NE(brush, GetStockObject(BLACK_BRUSH)) << index;
    const LOGBRUSH log = BrushOf(brush);
    EXPECT_EQ(log.lbStyle, static_cast<UINT>(BS_SOLID)) << index;
    EXPECT_EQ(log.lbColor, ZqGetUIColor(index)) << index;
    if (index < 25) {
      EXPECT_EQ(log.lbColor, GetSysColor(index)) << index;
    }
    distinct.insert(brush);
    for (int style = 0; style < 3; ++style) {
      HPEN pen = ZqGetUIPenWithStyle(index, style);
      ASSERT_NE(pen, nullptr);
      EXPECT_EQ(ZqGetUIPenWithStyle(index, style), pen);
      EXPECT_NE(pen, GetStockObject(BLACK_PEN));
      const LOGPEN lp = PenOf(pen);
      EXPECT_EQ(lp.lopnWidth.x, 1);
      EXPECT_EQ(lp.lopnStyle, style == ZQ_UIPEN_DOT ? static_cast<UINT>(PS_DOT) : static_cast<UINT>(PS_SOLID));
      if (style != ZQ_UIPEN_DIMMED) {
        EXPECT_EQ(lp.lopnColor, ZqGetUIColor(index)) << index;
      }
      distinct.insert(pen);
    }
  }
  EXPECT_EQ(distinct.size(), BrushIndices().size() * 4);

  for (int index : {25, 99, 161, 162, -1, 9999, 10017, 10000 + 100})
    EXPECT_EQ(ZqGetUIBrush(index), GetStockObject(BLACK_BRUSH)) << index;
  for (int index : {25, 99, 161, -1, 10000})
    EXPECT_EQ(ZqGetUIPenWithStyle(index, 0), GetStockObject(BLACK_PEN)) << index;
  for (int style : {3, 4, -1, 100}) EXPECT_EQ(ZqGetUIPenWithStyle(100, style), GetStockObject(BLACK_PEN)) << style;
}

TEST(UiBrushesAndPens, DimmedPenColour) {
  ResetColours();  // no pen cached yet for the colours set below
  struct Case {
    COLORREF colour, dimmed;  // a = (r + g + b) / 3 + 192; channel = (a + channel) / 3
  } cases[] = {
      {RGB(0, 0, 0), RGB(64, 64, 64)},
      {RGB(255, 0, 0), RGB(177, 92, 92)},
      {RGB(255, 255, 255), RGB(234, 234, 234)},
      {RGB(10, 20, 30), RGB(74, 77, 80)},
  };
  int index = 152;
  for (const Case& c : cases) {
    ZqSetUIColor(index, c.colour);
    EXPECT_EQ(PenOf(ZqGetUIPenWithStyle(index, ZQ_UIPEN_DIMMED)).lopnColor, c.dimmed) << std::hex << c.colour;
    ++index;
  }
  ResetColours();
}

// Tiles of each pattern brush as a person sees them.
void PaintBrushTiles(HDC dc) {
  SetTextColor(dc, RGB(0, 0, 96));
  SetBkColor(dc, RGB(255, 255, 224));
  for (int i = 0; i <= 16; ++i) {
    const RECT tile{10 + (i % 6) * 70, 10 + (i / 6) * 70, 70 + (i % 6) * 70, 70 + (i / 6) * 70};
    FillRect(dc, &tile, ZqGetUIBrush(ZQ_UIBRUSH_PATTERN + i));
    FrameRect(dc, &tile, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
}

TEST(UiBrushesAndPens, PatternBrushes) {
  // 10000: the library's bitmap 101, tiled.
  HBRUSH bitmapBrush = ZqGetUIBrush(ZQ_UIBRUSH_PATTERN);
  EXPECT_EQ(ZqGetUIBrush(ZQ_UIBRUSH_PATTERN), bitmapBrush);
  EXPECT_EQ(BrushOf(bitmapBrush).lbStyle, static_cast<UINT>(BS_PATTERN));
  Canvas painted(16, 16), expected(16, 16);
  const RECT all{0, 0, 16, 16};
  FillRect(painted.dc(), &all, bitmapBrush);
  HBITMAP pattern = LoadBitmapW(controlstest::Library(), MAKEINTRESOURCEW(101));
  ASSERT_NE(pattern, nullptr);
  BITMAP info{};
  GetObjectW(pattern, sizeof(info), &info);
  EXPECT_EQ(info.bmWidth, 8);
  EXPECT_EQ(info.bmHeight, 8);
  HDC source = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(source, pattern);
  for (int y = 0; y < 16; y += 8)
    for (int x = 0; x < 16; x += 8) BitBlt(expected.dc(), x, y, 8, 8, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
  DeleteObject(pattern);
  EXPECT_TRUE(painted.SameAs(expected));

  // 10001 ... 10016: monochrome 8 x 8 patterns in the DC's two colours.
  std::set<std::vector<DWORD>> seen;
  for (int n = 0; n < 16; ++n) {
    HBRUSH brush = ZqGetUIBrush(ZQ_UIBRUSH_PATTERN8(n));
    EXPECT_EQ(ZqGetUIBrush(ZQ_UIBRUSH_PATTERN8(n)), brush);
    EXPECT_EQ(BrushOf(brush).lbStyle, static_cast<UINT>(BS_PATTERN)) << n;
    Canvas canvas(16, 16);
    SetTextColor(canvas.dc(), RGB(0, 0, 0));
    SetBkColor(canvas.dc(), RGB(255, 255, 255));
    FillRect(canvas.dc(), &all, brush);
    std::vector<DWORD> cell;
    std::set<DWORD> colours;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const DWORD p = canvas.Pixel(x, y);
        colours.insert(p);
        EXPECT_EQ(p, canvas.Pixel(x % 8, y % 8)) << n;  // repeats every 8 pixels
        if (x < 8 && y < 8) cell.push_back(p);
      }
    EXPECT_EQ(colours, (std::set<DWORD>{0x000000, 0xFFFFFF})) << n;
    seen.insert(cell);
  }
  EXPECT_EQ(seen.size(), 16u);

  controlstest::TestWindow window(0, 40, 40, 430, 220);
  window.onPaint = PaintBrushTiles;
  const auto shot = testsupport::SaveWindowScreenshot(window.hwnd(), L"ui_pattern_brushes");
  EXPECT_TRUE(shot.saved);
  EXPECT_GT(shot.colours, 4);
}

// ---- HLS --------------------------------------------------------------------

int HueDistance(int a, int b) {
  const int d = std::abs(a - b) % 240;
  return d > 120 ? 240 - d : d;
}

TEST(UiHls, StatedPoints) {
  const DWORD red = ZqRGBtoHSL(RGB(255, 0, 0));
  EXPECT_EQ(ZQ_HLS_HUE(red), 0);
  EXPECT_EQ(ZQ_HLS_SATURATION(red), 240);
  EXPECT_EQ(ZQ_HLS_LUMINANCE(red), 120);
  EXPECT_EQ(ZqHSLtoRGB(red), RGB(255, 0, 0));
  EXPECT_EQ(ZqRGBtoHSL(RGB(255, 255, 255)), ZQ_HLS(160, 239, 0));  // the sum is divided by 512
  EXPECT_EQ(ZqRGBtoHSL(RGB(0, 0, 0)), ZQ_HLS(160, 0, 0));
  EXPECT_EQ(ZqHSLtoRGB(ZQ_HLS(160, 240, 0)), RGB(255, 255, 255));
  EXPECT_EQ(ZqHSLtoRGB(ZQ_HLS(0, 120, 0)), RGB(127, 127, 127));
  EXPECT_EQ(ZqHSLtoRGB(ZQ_HLS(80, 120, 240)), RGB(0, 255, 0));
  EXPECT_EQ(ZqHSLtoRGB(ZQ_HLS(160, 120, 240)), RGB(0, 0, 255));
}

// Every colour of a 16-level cube against ColorRGBToHLS and back through
// ColorHLSToRGB. The platform divides the luminance sum by 510 where the
// library divides by 512; the saturation of very light colours follows that
// difference (the library's is never above the platform's).
TEST(UiHls, AgainstThePlatformOverA16LevelCube) {
  int compared = 0, lightSaturationBelow = 0;
  for (int r = 0; r < 256; r += 17)
    for (int g = 0; g < 256; g += 17)
      for (int b = 0; b < 256; b += 17) {
        const COLORREF rgb = RGB(r, g, b);
        const DWORD ours = ZqRGBtoHSL(rgb);
        WORD h = 0, l = 0, s = 0;
        ColorRGBToHLS(rgb, &h, &l, &s);
        EXPECT_LE(std::abs(ZQ_HLS_LUMINANCE(ours) - l), 1) << r << "," << g << "," << b;
        if (s == 0) {
          EXPECT_EQ(ZQ_HLS_SATURATION(ours), 0);
          EXPECT_EQ(ZQ_HLS_HUE(ours), 160);
        } else {
          EXPECT_LE(HueDistance(ZQ_HLS_HUE(ours), h), 1) << r << "," << g << "," << b;
          if (ZQ_HLS_LUMINANCE(ours) <= 120) {
            EXPECT_LE(std::abs(ZQ_HLS_SATURATION(ours) - s), 1) << r << "," << g << "," << b;
          } else {
            // Light colours: scaled by (510 - sum) / (512 - sum), within rounding.
            const int max = r > g ? (r > b ? r : b) : (g > b ? g : b), min = r < g ? (r < b ? r : b) : (g < b ? g : b);
            const double scaled = s * (510.0 - (max + min)) / (512.0 - (max + min));
            EXPECT_LE(ZQ_HLS_SATURATION(ours), s + 1) << r << "," << g << "," << b;
            EXPECT_LE(std::abs(ZQ_HLS_SATURATION(ours) - scaled), 1.5) << r << "," << g << "," << b;
            if (ZQ_HLS_SATURATION(ours) + 1 < s) ++lightSaturationBelow;
          }
        }
        // And back: the library's HLS through both conversions.
        const COLORREF mine = ZqHSLtoRGB(ours);
        const COLORREF theirs = ColorHLSToRGB(ZQ_HLS_HUE(ours), ZQ_HLS_LUMINANCE(ours), ZQ_HLS_SATURATION(ours));
        EXPECT_LE(std::abs(GetRValue(mine) - GetRValue(theirs)), 1) << r << "," << g << "," << b;
        EXPECT_LE(std::abs(GetGValue(mine) - GetGValue(theirs)), 1) << r << "," << g << "," << b;
        EXPECT_LE(std::abs(GetBValue(mine) - GetBValue(theirs)), 1) << r << "," << g << "," << b;
        ++compared;
      }
  EXPECT_EQ(compared, 4096);
  RecordProperty("LightSaturationBelowPlatform", lightSaturationBelow);
}

// Hues 240 ... 255 wrap round; luminance and saturation beyond 240 never
// give a channel past 255 (which would spill into the next channel).
TEST(UiHls, OutOfRangeInputsStayInRange) {
  for (int h = 240; h < 256; ++h)
    for (int l : {30, 120, 200})
      for (int s : {0, 100, 240}) EXPECT_EQ(ZqHSLtoRGB(ZQ_HLS(h, l, s)), ZqHSLtoRGB(ZQ_HLS(h - 240, l, s))) << h;
  for (int l = 0; l < 256; l += 5)
    for (int s = 0; s < 256; s += 5)
      for (int h = 0; h < 256; h += 15)
        EXPECT_EQ(ZqHSLtoRGB(ZQ_HLS(h, l, s)) & 0xFF000000u, 0u) << h << "," << l << "," << s;
  EXPECT_EQ(ZqHSLtoRGB(ZQ_HLS(0, 255, 0)), RGB(255, 255, 255));
}

}  // namespace
