// Painting the spinner: arrow buttons and the drag area, with the theme's
// "Spin" parts when themes are active, else with 3-D edges (none when flat)
// and the shared arrow glyphs; the caret that shows the focus.
#include <cstring>
#include <initializer_list>

#include <vssym32.h>

#include "sliders/spinner_internal.h"
#include "ui/theme_internal.h"
#include "zq/ui.h"

namespace zq::controls {
namespace {

// ---- Arrow glyphs --------------------------------------------------------------------
// A 4-bit bitmap of four 7 x 7 cells (up, down, left, right), the glyphs in
// palette entry 0 (text) on entry 7 (face); a second row holds the disabled
// glyphs in entry 8 (shadow) over entry 15 (highlight).
constexpr int kCell = 7, kGlyphs = 4;
constexpr int kArrowWidth = kCell * kGlyphs, kArrowHeight = kCell * 2;
constexpr int kStride = ((kArrowWidth * 4 + 31) / 32) * 4;
enum : BYTE { kText = 0, kFace = 7, kShadow = 8, kHighlight = 15 };

// Whether pixel (x, y) of a cell lies on glyph g: a triangle four pixels
// deep, seven wide at its base.
bool OnGlyph(int g, int x, int y) {
  int depth, across;
  switch (g) {
    case 0: depth = y - 1; across = x; break;          // up: tip at the top
    case 1: depth = 4 - y; across = x; break;          // down
    case 2: depth = x - 1; across = y; break;          // left
    default: depth = 4 - x; across = y; break;         // right
  }
  return depth >= 0 && depth < 4 && across >= 3 - depth && across <= 3 + depth;
}

struct ArrowBits {
  BITMAPINFOHEADER header;
  RGBQUAD colours[16];
  BYTE bits[kStride * kArrowHeight];
};

// The built-in bitmap: made once, its colour table refilled for each build.
const ArrowBits& BuiltIn() {
  static ArrowBits arrows = [] {
    ArrowBits a{};
    a.header.biSize = sizeof(a.header);
    a.header.biWidth = kArrowWidth;
    a.header.biHeight = -kArrowHeight;  // top-down
    a.header.biPlanes = 1;
    a.header.biBitCount = 4;
    a.header.biCompression = BI_RGB;
    a.header.biClrUsed = 16;
    for (int y = 0; y < kArrowHeight; ++y)
      for (int x = 0; x < kArrowWidth; ++x) {
        const int g = x / kCell, cx = x % kCell, cy = y % kCell;
        BYTE index = kFace;
        if (y < kCell) {
          if (OnGlyph(g, cx, cy)) index = kText;
        } else if (OnGlyph(g, cx, cy)) {
          index = kShadow;
        } else if (cx > 0 && cy > 0 && OnGlyph(g, cx - 1, cy - 1)) {
          index = kHighlight;
        }
        BYTE& pair = a.bits[y * kStride + x / 2];
        pair = (x % 2) ? static_cast<BYTE>((pair & 0xF0) | index) : static_cast<BYTE>((pair & 0x0F) | (index << 4));
      }
    return a;
  }();
  return arrows;
}

HBITMAP g_arrows = nullptr;
COLORREF g_arrowColours[4];

void ArrowColours(COLORREF colours[4]) {
  colours[0] = GetSysColor(COLOR_BTNTEXT);
  colours[1] = GetSysColor(COLOR_BTNFACE);
  colours[2] = GetSysColor(COLOR_BTNSHADOW);
  colours[3] = GetSysColor(COLOR_BTNHIGHLIGHT);
}

RGBQUAD Quad(COLORREF c) { return RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), 0}; }

HBITMAP Arrows() {
  COLORREF now[4];
  ArrowColours(now);
  if (!g_arrows || std::memcmp(now, g_arrowColours, sizeof(now)) != 0) BuildArrows();
  return g_arrows;
}

void DrawGlyph(HDC dc, const RECT& r, int glyph, bool disabled, bool pushed) {
  HBITMAP arrows = Arrows();
  if (!arrows || IsRectEmpty(&r)) return;
  HDC source = CreateCompatibleDC(dc);
  if (!source) return;
  HGDIOBJ old = SelectObject(source, arrows);
  const int x = r.left + (r.right - r.left - kCell) / 2 + (pushed ? 1 : 0);
  const int y = r.top + (r.bottom - r.top - kCell) / 2 + (pushed ? 1 : 0);
  // Only the part of the cell inside the button.
  const int sx = x < r.left ? r.left - x : 0, sy = y < r.top ? r.top - y : 0;
  const int w = (x + kCell > r.right ? r.right - x : kCell) - sx;
  const int h = (y + kCell > r.bottom ? r.bottom - y : kCell) - sy;
  if (w > 0 && h > 0)
    BitBlt(dc, x + sx, y + sy, w, h, source, glyph * kCell + sx, (disabled ? kCell : 0) + sy, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

// The glyph of a button: up and down for vertical spinners, left and right
// for horizontal ones.
int GlyphOf(const Spinner& s, int button) { return s.vertical ? button : 2 + button; }

bool DrawThemed(const Spinner& s, HDC dc, int part, const RECT& r) {
  const ZQXPTHEME* theme = ActiveTheme();
  if (!theme || IsRectEmpty(&r)) return false;
  auto draw = reinterpret_cast<decltype(&DrawThemeBackground)>(theme->entries[ZQXT_DrawThemeBackground]);
  const int state = s.disabled ? 4 : (part < 2 && s.pressed[part]) || (part == SPNP_DRAGAREA && s.tracking == part) ? 3
                    : s.hot == part                                                                                 ? 2
                                                                                                                    : 1;
  if (part == SPNP_DRAGAREA) {
    HTHEME scrollbar = theme->themes[ZQXPTHEME_SCROLLBAR];
    return scrollbar &&
           SUCCEEDED(draw(scrollbar, dc, s.vertical ? SBP_THUMBBTNVERT : SBP_THUMBBTNHORZ, state, &r, nullptr));
  }
  HTHEME spin = theme->themes[ZQXPTHEME_SPIN];
  const int themePart = s.vertical ? (part == 0 ? SPNP_UP : SPNP_DOWN) : (part == 0 ? SPNP_DOWNHORZ : SPNP_UPHORZ);
  return spin && SUCCEEDED(draw(spin, dc, themePart, state, &r, nullptr));
}

void DrawClassic(const Spinner& s, HDC dc, int part, const RECT& rect) {
  RECT r = rect;
  if (IsRectEmpty(&r)) return;
  const bool pushed = part < 2 ? s.pressed[part] != FALSE : s.tracking == part;
  FillRect(dc, &r, ZqGetUIBrush(COLOR_BTNFACE));
  if (part == SPNP_DRAGAREA) {
    // A grip: the pattern brush over the face, lit while hot.
    RECT grip = r;
    InflateRect(&grip, -1, -1);
    SetTextColor(dc, ZqGetUIColor(s.hot == part ? COLOR_HIGHLIGHT : COLOR_BTNSHADOW));
    SetBkColor(dc, ZqGetUIColor(COLOR_BTNFACE));
    if (!IsRectEmpty(&grip)) FillRect(dc, &grip, ZqGetUIBrush(ZQ_UIBRUSH_PATTERN8(0)));
  } else {
    DrawGlyph(dc, r, GlyphOf(s, part), s.disabled != FALSE, pushed);
  }
  if (s.edges) DrawEdge(dc, &r, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  else if (s.hot == part && !s.disabled) FrameRect(dc, &r, ZqGetUIBrush(COLOR_BTNSHADOW));
}

}  // namespace

HBITMAP BuildArrows() noexcept {
  COLORREF colours[4];
  ArrowColours(colours);
  ArrowBits bits = BuiltIn();
  bits.colours[kText] = Quad(colours[0]);
  bits.colours[kFace] = Quad(colours[1]);
  bits.colours[kShadow] = Quad(colours[2]);
  bits.colours[kHighlight] = Quad(colours[3]);
  HDC screen = GetDC(nullptr);
  HBITMAP made = CreateDIBitmap(screen, &bits.header, CBM_INIT, bits.bits, reinterpret_cast<BITMAPINFO*>(&bits),
                                DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (!made) return g_arrows;
  DeleteArrows();
  g_arrows = made;
  std::memcpy(g_arrowColours, colours, sizeof(colours));
  return g_arrows;
}

void DeleteArrows() noexcept {
  if (g_arrows) DeleteObject(g_arrows);
  g_arrows = nullptr;
}

void Paint(Spinner& s, HDC dc) {
  if (IsRectEmpty(&s.control)) return;
  FillRect(dc, &s.control, ZqGetUIBrush(COLOR_BTNFACE));
  for (int part : {SPNP_BUTTON0, SPNP_BUTTON1, SPNP_DRAGAREA}) {
    const RECT r = PartRect(s, part);
    if (!s.themed || !DrawThemed(s, dc, part, r)) DrawClassic(s, dc, part, r);
  }
}

void Repaint(Spinner& s) {
  if (s.window) InvalidateRect(s.window, &s.control, FALSE);
}

// Focusable spinners show the caret over the drag area while they have the
// focus and no gesture runs.
void ShowFocus(Spinner& s) {
  HideFocus(s);
  if (!s.focus || !Focusable(s) || !s.window || s.tracking >= 0) return;
  RECT area = PartRect(s, SPNP_DRAGAREA);
  if (IsRectEmpty(&area)) return;
  s.caret = CreateCaret(s.window, reinterpret_cast<HBITMAP>(1), area.right - area.left, area.bottom - area.top);
  if (!s.caret) return;
  SetCaretPos(area.left, area.top);
  ShowCaret(s.window);
}

void HideFocus(Spinner& s) {
  if (!s.caret) return;
  DestroyCaret();
  s.caret = FALSE;
}

}  // namespace zq::controls

using namespace zq::controls;

ZQAPI void WINAPI SpinnerInst_Draw(ZQSPINNERINST* inst, HDC dc) noexcept {
  if (inst && dc) Paint(*SpinnerOf(inst), dc);
}
