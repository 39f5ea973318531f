// Cached brushes (system colours, user-interface colours, the library's
// pattern bitmap and sixteen 8 x 8 patterns) and pens per colour and style.
#include "ui/ui_internal.h"
#include "ui/ui_resource_ids.h"
#include "core/module_state.h"
#include "zq/ui.h"

namespace zq::controls {
namespace {

constexpr int kSysColors = 25;                  // 0 ... 24
constexpr int kUiColors = 61;                   // 100 ... 160
constexpr int kColorSlots = kSysColors + kUiColors;
constexpr int kPenStyles = 3;

// Sixteen monochrome 8 x 8 patterns, one row per word (the low byte; 1 = the
// background colour of the DC, 0 = its text colour).
constexpr WORD kPatterns[16][8] = {
    {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55},  // half tone
    {0xEE, 0xFF, 0xBB, 0xFF, 0xEE, 0xFF, 0xBB, 0xFF},  // quarter tone
    {0xFE, 0xFF, 0xFF, 0xFF, 0xEF, 0xFF, 0xFF, 0xFF},  // sparse dots
    {0x11, 0x00, 0x44, 0x00, 0x11, 0x00, 0x44, 0x00},  // three-quarter tone
    {0x00, 0xFF, 0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0xFF},  // horizontal lines
    {0x77, 0x77, 0x77, 0x77, 0x77, 0x77, 0x77, 0x77},  // vertical lines
    {0xFE, 0xFD, 0xFB, 0xF7, 0xEF, 0xDF, 0xBF, 0x7F},  // diagonal down
    {0x7F, 0xBF, 0xDF, 0xEF, 0xF7, 0xFB, 0xFD, 0xFE},  // diagonal up
    {0x00, 0x77, 0x77, 0x77, 0x00, 0x77, 0x77, 0x77},  // cross hatch
    {0x7E, 0xBD, 0xDB, 0xE7, 0xE7, 0xDB, 0xBD, 0x7E},  // diagonal cross
    {0x0F, 0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF},  // dashes
    {0x0F, 0x0F, 0x0F, 0x0F, 0xF0, 0xF0, 0xF0, 0xF0},  // coarse checker
    {0x00, 0xEF, 0xEF, 0xEF, 0x00, 0xFE, 0xFE, 0xFE},  // bricks
    {0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF},  // dense lines
    {0x7F, 0xFF, 0xFF, 0xFF, 0xF7, 0xFF, 0xFF, 0xFF},  // grid dots
    {0x81, 0x42, 0x24, 0x18, 0x81, 0x42, 0x24, 0x18},  // weave
};

HBRUSH g_brushes[kColorSlots];
HBRUSH g_bitmapBrush;
HBRUSH g_patternBrushes[16];
HPEN g_pens[kColorSlots][kPenStyles];

// The cache slot of a colour index, or -1. UI colour 161 has no slot.
int ColorSlot(int index) {
  if (index >= 0 && index < kSysColors) return index;
  if (index >= ZQ_UICOLOR_FIRST && index < ZQ_UICOLOR_FIRST + kUiColors) return kSysColors + index - ZQ_UICOLOR_FIRST;
  return -1;
}

COLORREF Dimmed(COLORREF colour) {
  const int r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
  const int a = (r + g + b) / 3 + 192;
  return RGB((a + r) / 3, (a + g) / 3, (a + b) / 3);
}

HBRUSH PatternBrush(HBITMAP bitmap) {
  if (!bitmap) return nullptr;
  HBRUSH brush = CreatePatternBrush(bitmap);  // the brush keeps its own copy
  DeleteObject(bitmap);
  return brush;
}

template <typename T>
void Delete(T& object) {
  if (object) DeleteObject(object);
  object = nullptr;
}

}  // namespace

void DeleteCachedBrushesAndPens() noexcept {
  for (auto& brush : g_brushes) Delete(brush);
  Delete(g_bitmapBrush);
  for (auto& brush : g_patternBrushes) Delete(brush);
  for (auto& styles : g_pens)
    for (auto& pen : styles) Delete(pen);
}

}  // namespace zq::controls

using namespace zq::controls;

ZQAPI HBRUSH WINAPI ZqGetUIBrush(int index) noexcept {
  HBRUSH* slot = nullptr;
  const int colour = ColorSlot(index);
  if (colour >= 0) {
    slot = &g_brushes[colour];
    if (!*slot) *slot = CreateSolidBrush(ZqGetUIColor(index));
  } else if (index == ZQ_UIBRUSH_PATTERN) {
    slot = &g_bitmapBrush;
    if (!*slot) *slot = PatternBrush(LoadBitmapW(zq::core::ModuleInstance(), MAKEINTRESOURCEW(IDB_UI_PATTERN)));
  } else if (index >= ZQ_UIBRUSH_PATTERN8(0) && index <= ZQ_UIBRUSH_PATTERN8(15)) {
    const int pattern = index - ZQ_UIBRUSH_PATTERN8(0);
    slot = &g_patternBrushes[pattern];
    if (!*slot) *slot = PatternBrush(CreateBitmap(8, 8, 1, 1, kPatterns[pattern]));
  }
  if (slot && *slot) return *slot;
  return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

ZQAPI HPEN WINAPI ZqGetUIPenWithStyle(int index, int style) noexcept {
  const int colour = ColorSlot(index);
  if (colour < 0 || style < 0 || style >= kPenStyles) return static_cast<HPEN>(GetStockObject(BLACK_PEN));
  HPEN& pen = g_pens[colour][style];
  if (!pen) {
    const COLORREF rgb = ZqGetUIColor(index);
    pen = CreatePen(style == ZQ_UIPEN_DOT ? PS_DOT : PS_SOLID, 1, style == ZQ_UIPEN_DIMMED ? Dimmed(rgb) : rgb);
  }
  return pen ? pen : static_cast<HPEN>(GetStockObject(BLACK_PEN));
}

void zq::controls::UiDrawingObjectsShutdown() noexcept {
  DeleteCachedBrushesAndPens();
  DeleteCachedFonts();
}
