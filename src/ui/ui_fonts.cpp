// The user-interface fonts: a fixed set of ids, most of them made once and
// cached, each with the extent of "0" measured on first use.
#include <cstddef>
#include <cstring>
#include <cwchar>

#include "ui/ui_internal.h"
#include "zq/kernel.h"
#include "zq/ui.h"

namespace zq::controls {
namespace {

// Ids made once and kept, in the order of their slots.
constexpr int kCachedIds[] = {100, 102, 104, 106, 108, 110, 112, 120, 129,
                              130, 134, 140, 141, 142, 143, 144, 145, 146};
constexpr int kCachedCount = sizeof(kCachedIds) / sizeof(kCachedIds[0]);
constexpr int kStockIds = 18;  // ids 0 ... 17 have a size slot of their own

struct CachedFont {
  HFONT font;
  bool owned;  // false for a stock font standing in
};
CachedFont g_fonts[kCachedCount];
SIZE g_sizes[kCachedCount + kStockIds];
bool g_measured[kCachedCount + kStockIds];

int CachedSlot(int id) {
  for (int i = 0; i < kCachedCount; ++i)
    if (kCachedIds[i] == id) return i;
  return -1;
}

bool IsStockFontId(int id) {
  return (id >= OEM_FIXED_FONT && id <= DEVICE_DEFAULT_FONT) || id == SYSTEM_FIXED_FONT || id == DEFAULT_GUI_FONT;
}

HFONT Stock(int id) { return static_cast<HFONT>(GetStockObject(id)); }

// The screen DC for a measurement, with `font` selected while it lives.
class ScreenFont {
 public:
  explicit ScreenFont(HFONT font) : dc_(GetDC(nullptr)) {
    if (dc_ && font) old_ = SelectObject(dc_, font);
  }
  ~ScreenFont() {
    if (!dc_) return;
    if (old_) SelectObject(dc_, old_);
    ReleaseDC(nullptr, dc_);
  }
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

int ScreenDpi() {
  ScreenFont screen(nullptr);
  const int dpi = screen.dc() ? GetDeviceCaps(screen.dc(), LOGPIXELSY) : 96;
  return dpi > 0 ? dpi : 96;
}

// The character height of a font in points.
int CharacterPoints(HFONT font) {
  ScreenFont screen(font);
  TEXTMETRICW metrics{};
  if (!screen.dc() || !GetTextMetricsW(screen.dc(), &metrics)) return 8;
  return MulDiv(metrics.tmHeight - metrics.tmInternalLeading, 72, ScreenDpi());
}

LONG HeightOfPoints(int points) { return -MulDiv(points, ScreenDpi(), 72); }

BYTE ScreenCharset() {
  ScreenFont screen(nullptr);
  return static_cast<BYTE>(screen.dc() ? GetTextCharset(screen.dc()) : DEFAULT_CHARSET);
}

// The library's face, precision and quality.
void ApplyLibraryStyle(LOGFONTW& font, bool face) {
  const bool modern = ZqOSVersionOK(ZQOS_WINXP);
  if (face) wcscpy(font.lfFaceName, modern ? L"MS Shell Dlg 2" : L"MS Shell Dlg");
  font.lfOutPrecision = modern ? OUT_TT_ONLY_PRECIS : OUT_TT_PRECIS;
  font.lfQuality = PROOF_QUALITY;
  BOOL smoothing = FALSE;
  UINT type = 0;
  if (modern && SystemParametersInfoW(SPI_GETFONTSMOOTHING, 0, &smoothing, 0) && smoothing &&
      SystemParametersInfoW(SPI_GETFONTSMOOTHINGTYPE, 0, &type, 0) && type == FE_FONTSMOOTHINGCLEARTYPE)
    font.lfQuality = CLEARTYPE_QUALITY;
}

LOGFONTW LogFontOf(HFONT font) {
  LOGFONTW log{};
  GetObjectW(font, sizeof(log), &log);
  return log;
}

LOGFONTW UiLogFont(LONG height, LONG weight, BYTE pitchAndFamily) {
  LOGFONTW log{};
  log.lfHeight = height;
  log.lfWeight = weight;
  log.lfCharSet = ScreenCharset();
  log.lfPitchAndFamily = pitchAndFamily;
  ApplyLibraryStyle(log, true);
  return log;
}

LOGFONTW CourierSmaller(int points) {
  LOGFONTW log{};
  log.lfHeight = HeightOfPoints(CharacterPoints(Stock(ANSI_FIXED_FONT)) - points);
  log.lfWeight = FW_NORMAL;
  log.lfCharSet = ScreenCharset();
  log.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  ApplyLibraryStyle(log, false);
  wcscpy(log.lfFaceName, L"Courier New");
  return log;
}

NONCLIENTMETRICSW NonClientMetrics() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
  }
  return metrics;
}

LOGFONTW IconTitleFont() {
  LOGFONTW log{};
  if (!SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(log), &log, 0)) log = LogFontOf(Stock(DEFAULT_GUI_FONT));
  return log;
}

LOGFONTW SystemFont(const LOGFONTW& system) {
  LOGFONTW log = system;
  ApplyLibraryStyle(log, false);
  return log;
}

// The description of a cached font id.
LOGFONTW Describe(int id) {
  const LOGFONTW gui = LogFontOf(Stock(DEFAULT_GUI_FONT));
  const int guiPoints = CharacterPoints(Stock(DEFAULT_GUI_FONT));
  switch (id) {
    case 100: return UiLogFont(gui.lfHeight, FW_NORMAL, VARIABLE_PITCH | FF_SWISS);
    case 104: return UiLogFont(gui.lfHeight, FW_BOLD, VARIABLE_PITCH | FF_SWISS);
    case 110: return UiLogFont(HeightOfPoints(guiPoints - 1), FW_NORMAL, VARIABLE_PITCH | FF_SWISS);
    case 112: return UiLogFont(HeightOfPoints(guiPoints - 1), FW_BOLD, VARIABLE_PITCH | FF_SWISS);
    case 102: return CourierSmaller(1);
    case 120: return CourierSmaller(2);
    case 106:
    case 108: {
      // The alternative UI font: face and height of the system's message font.
      const LOGFONTW message = NonClientMetrics().lfMessageFont;
      LOGFONTW log = UiLogFont(message.lfHeight, id == 108 ? FW_BOLD : FW_NORMAL, VARIABLE_PITCH | FF_SWISS);
      wcscpy(log.lfFaceName, message.lfFaceName);
      return log;
    }
    case 129: return UiLogFont(HeightOfPoints(16), FW_MEDIUM, VARIABLE_PITCH);
    case 130: return UiLogFont(HeightOfPoints(12), FW_MEDIUM, VARIABLE_PITCH | FF_SWISS);
    case 134: return UiLogFont(HeightOfPoints(12), FW_BOLD, VARIABLE_PITCH);
    case 140: return SystemFont(NonClientMetrics().lfCaptionFont);
    case 141: return SystemFont(NonClientMetrics().lfSmCaptionFont);
    case 142: return SystemFont(NonClientMetrics().lfMenuFont);
    case 143: return SystemFont(NonClientMetrics().lfStatusFont);
    case 144: return SystemFont(NonClientMetrics().lfMessageFont);
    case 145: return IconTitleFont();
    default: {  // 146
      LOGFONTW log = IconTitleFont();
      log.lfWeight = log.lfWeight >= FW_BOLD ? FW_EXTRABOLD : FW_BOLD;
      return log;
    }
  }
}

SIZE MeasureZero(HFONT font) {
  SIZE size{};
  ZqGetFontSize(font, &size);
  return size;
}

}  // namespace

void DeleteCachedFonts() noexcept {
  for (auto& entry : g_fonts) {
    if (entry.font && entry.owned) DeleteObject(entry.font);
    entry = {};
  }
  std::memset(g_measured, 0, sizeof(g_measured));
}

}  // namespace zq::controls

using namespace zq::controls;

ZQAPI HFONT WINAPI ZqGetUIFont(int id) noexcept {
  if (IsStockFontId(id)) {
    LOGFONTW log = LogFontOf(Stock(id));
    ApplyLibraryStyle(log, false);
    HFONT font = CreateFontIndirectW(&log);
    return font ? font : Stock(id);
  }
  const int slot = CachedSlot(id);
  if (slot < 0) return Stock(DEFAULT_GUI_FONT);
  CachedFont& entry = g_fonts[slot];
  if (!entry.font) {
    const LOGFONTW log = Describe(id);
    entry.font = CreateFontIndirectW(&log);
    entry.owned = entry.font != nullptr;
    if (!entry.font) entry.font = Stock(id == 102 || id == 120 ? ANSI_FIXED_FONT : DEFAULT_GUI_FONT);
  }
  return entry.font;
}

ZQAPI const SIZE* WINAPI ZqGetUIFontSize(int id) noexcept {
  int slot;
  if (id >= 0 && id < kStockIds) slot = kCachedCount + id;
  else if ((slot = CachedSlot(id)) < 0) return nullptr;
  if (!g_measured[slot]) {
    HFONT font = ZqGetUIFont(id);
    g_sizes[slot] = MeasureZero(font);
    if (IsStockFontId(id) && font != Stock(id)) DeleteObject(font);
    g_measured[slot] = true;
  }
  return &g_sizes[slot];
}

ZQAPI BOOL WINAPI ZqGetFontSize(HFONT font, SIZE* size) noexcept { return ZqGetTextExtent(font, L"0", 1, size); }

ZQAPI BOOL WINAPI ZqGetTextExtent(HFONT font, LPCWSTR text, int length, SIZE* size) noexcept {
  if (!size) return FALSE;
  *size = SIZE{};
  if (!text) {
    text = L"";
    length = 0;
  } else if (length <= 0) {
    length = static_cast<int>(wcslen(text));
  }
  ScreenFont screen(font);
  if (!screen.dc()) return FALSE;
  return GetTextExtentPoint32W(screen.dc(), text, length, size);
}

ZQAPI UINT WINAPI ZqGetUIFontCharset(void) noexcept { return ScreenCharset(); }
