// The user-interface colour table: 62 encoded colours over the system
// colours, starting as the built-in defaults (a resource of the module).
#include <cstring>

#include "ui/ui_internal.h"
#include "ui/ui_resource_ids.h"
#include "zq/ui.h"

namespace zq::controls {
namespace {

DWORD g_defaults[ZQ_UICOLOR_COUNT];
DWORD g_table[ZQ_UICOLOR_COUNT];

bool DeeperThan8Bits() {
  HDC screen = GetDC(nullptr);
  if (!screen) return false;
  const bool deep = GetDeviceCaps(screen, BITSPIXEL) > 8;
  ReleaseDC(nullptr, screen);
  return deep;
}

// Whether the screen shows every colour as it is: asked once, and again
// after a system colour change (asking takes the screen's DC every time).
int g_deepScreen = -1;
bool DeepScreen() {
  if (g_deepScreen < 0) g_deepScreen = DeeperThan8Bits() ? 1 : 0;
  return g_deepScreen == 1;
}

// Mid greys move away from the middle on deep screens: light ones up to
// luminance 150, dark ones down to 90; their hue and saturation stay.
COLORREF AdjustedSysColor(int n) {
  const COLORREF colour = GetSysColor(n);
  if (!DeepScreen()) return colour;
  const DWORD hls = RgbToHls(colour);
  const int l = ZQ_HLS_LUMINANCE(hls), s = ZQ_HLS_SATURATION(hls), h = ZQ_HLS_HUE(hls);
  if (s >= 20 || l <= 90 || l >= 150) return colour;
  return HlsToRgb(ZQ_HLS(h, l > 120 ? 150 : 90, s));
}

COLORREF Decode(DWORD encoded) {
  const int n = static_cast<int>(encoded & 0x00FFFFFFu);
  switch (encoded & ZQ_UICOLOR_ENCODING_MASK) {
    case ZQ_UICOLOR_SYS(0): return GetSysColor(n);
    case ZQ_UICOLOR_SYSADJ(0): return AdjustedSysColor(n);
    default: return encoded;
  }
}

}  // namespace

void UiColorsStartup(HINSTANCE module) noexcept {
  std::memset(g_defaults, 0, sizeof(g_defaults));
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDR_UI_COLORS), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (data && SizeofResource(module, found) >= sizeof(g_defaults)) std::memcpy(g_defaults, data, sizeof(g_defaults));
  std::memcpy(g_table, g_defaults, sizeof(g_table));
}

void UiSysColorChanged() noexcept {
  g_deepScreen = -1;
  DeleteCachedBrushesAndPens();
  std::memcpy(g_table, g_defaults, sizeof(g_table));
}

}  // namespace zq::controls

using namespace zq::controls;

ZQAPI COLORREF WINAPI ZqGetUIColorAbsolute(int index) noexcept {
  if (index < -ZQ_UICOLOR_LAST || index > ZQ_UICOLOR_LAST) return CLR_INVALID;
  if (index < 0) {
    const int entry = -index;
    return entry < ZQ_UICOLOR_FIRST ? GetSysColor(entry) : Decode(g_defaults[entry - ZQ_UICOLOR_FIRST]);
  }
  return index < ZQ_UICOLOR_FIRST ? GetSysColor(index) : Decode(g_table[index - ZQ_UICOLOR_FIRST]);
}

ZQAPI COLORREF WINAPI ZqGetUIColor(int index) noexcept {
  const COLORREF colour = ZqGetUIColorAbsolute(index);
  if (colour == CLR_INVALID || DeepScreen()) return colour;  // no palette: every colour is its own nearest
  HDC screen = GetDC(nullptr);
  if (!screen) return colour;
  const COLORREF nearest = GetNearestColor(screen, colour);
  ReleaseDC(nullptr, screen);
  return nearest == CLR_INVALID ? colour : nearest;
}

ZQAPI BOOL WINAPI ZqSetUIColor(int index, DWORD encoded) noexcept {
  if (index < ZQ_UICOLOR_FIRST || index > ZQ_UICOLOR_LAST) return FALSE;
  g_table[index - ZQ_UICOLOR_FIRST] = encoded;
  return TRUE;
}
