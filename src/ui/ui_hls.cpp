// The packed HLS conversion: hue, saturation and luminance on a 0 ... 240
// scale in integer arithmetic.
#include "ui/ui_internal.h"
#include "zq/ui.h"

namespace zq::controls {
namespace {

int HueChannel(int m1, int m2, int h) {
  h %= 240;
  if (h < 0) h += 240;
  if (h < 40) return m1 + ((m2 - m1) * h + 20) / 40;
  if (h < 120) return m2;
  if (h < 160) return m1 + ((m2 - m1) * (160 - h) + 20) / 40;
  return m1;
}

// Inputs beyond 240 (a byte holds up to 255) would give channels past 255
// and spill into the neighbouring channel of the COLORREF.
BYTE Clamp(int value) { return static_cast<BYTE>(value < 0 ? 0 : value > 255 ? 255 : value); }

}  // namespace

DWORD RgbToHls(COLORREF rgb) noexcept {
  const int r = GetRValue(rgb), g = GetGValue(rgb), b = GetBValue(rgb);
  const int max = r > g ? (r > b ? r : b) : (g > b ? g : b);
  const int min = r < g ? (r < b ? r : b) : (g < b ? g : b);
  const int l = ((max + min) * 240 + 256) >> 9;
  if (max == min) return ZQ_HLS(160, l, 0);
  int d = max + min;
  if (l > 120) d = 512 - d;
  const int delta = max - min;
  const int s = (delta * 240 + d / 2) / d;
  const int rd = ((max - r) * 40 + delta / 2) / delta;
  const int gd = ((max - g) * 40 + delta / 2) / delta;
  const int bd = ((max - b) * 40 + delta / 2) / delta;
  int h;
  if (r == max) h = bd - gd;
  else if (g == max) h = 80 + rd - bd;
  else h = 160 + gd - rd;
  if (h < 0) h += 240;
  if (h > 240) h -= 240;
  return ZQ_HLS(h, l, s);
}

COLORREF HlsToRgb(DWORD hls) noexcept {
  const int h = ZQ_HLS_HUE(hls), s = ZQ_HLS_SATURATION(hls), l = ZQ_HLS_LUMINANCE(hls);
  if (s == 0) {
    const BYTE grey = Clamp((l * 136) >> 7);
    return RGB(grey, grey, grey);
  }
  const int m2 = l <= 120 ? (l * (240 + s) + 120) / 240 : l + s - (l * s + 120) / 240;
  const int m1 = 2 * l - m2;
  auto channel = [&](int hue) { return Clamp((HueChannel(m1, m2, hue) * 255 + 120) / 240); };
  return RGB(channel(h + 80), channel(h), channel(h - 80));
}

}  // namespace zq::controls

ZQAPI DWORD WINAPI ZqRGBtoHSL(COLORREF rgb) noexcept { return zq::controls::RgbToHls(rgb); }

ZQAPI COLORREF WINAPI ZqHSLtoRGB(DWORD hls) noexcept { return zq::controls::HlsToRgb(hls); }
