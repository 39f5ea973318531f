// The floating-point hue/saturation/lightness model on the pixel records.
#include <algorithm>

#include "dib/compose_internal.h"
#include "zq/colour.h"

namespace zq::dib {
namespace {

ZQHSL FromRgb(double r, double g, double b, double a) noexcept {
  ZQHSL out{0.0, 0.0, 0.0, a};
  double max = std::max({r, g, b}), min = std::min({r, g, b});
  double l = (max + min) / 2;
  out.lightness = l;
  if (l <= 0) return out;
  double d = max - min;
  if (d == 0) return out;
  out.saturation = l <= 0.5 ? d / (max + min) : d / (2 - max - min);
  double rd = (max - r) / d, gd = (max - g) / d, bd = (max - b) / d, h;
  if (r == max)
    h = g != min ? 1 - gd : 5 + bd;
  else if (g == max)
    h = b != min ? 3 - bd : 1 + rd;
  else
    h = r != min ? 5 - rd : 3 + gd;
  out.hue = h / 6;
  return out;
}

struct Rgb {
  double red, green, blue;
};
Rgb ToRgb(const ZQHSL& c) noexcept {
  double l = c.lightness, s = c.saturation;
  double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s, m1 = 2 * l - m2;
  if (!(m2 > 0)) return Rgb{0, 0, 0};
  // The sextant from 6H held to 0..6 before the conversion (NaN as 0).
  double h6 = c.hue * 6;
  int k = ClampedInt(h6, 0, 6);
  double t = h6 - k;
  double rise = m1 + (m2 - m1) * t, fall = m2 - (m2 - m1) * t;
  switch (k) {
    case 1: return Rgb{fall, m2, m1};
    case 2: return Rgb{m1, m2, rise};
    case 3: return Rgb{m1, fall, m2};
    case 4: return Rgb{rise, m1, m2};
    case 5: return Rgb{m2, m1, fall};
    default: return Rgb{m2, rise, m1};
  }
}

template <typename Pixel>
void StoreFloat(Pixel* out, const ZQHSL& hsl) noexcept {
  Rgb c = ToRgb(hsl);
  out->blue = static_cast<float>(c.blue);
  out->green = static_cast<float>(c.green);
  out->red = static_cast<float>(c.red);
  out->alpha = static_cast<float>(hsl.alpha);
}

}  // namespace
}  // namespace zq::dib

using namespace zq::dib;

ZQAPI void WINAPI ZQRGBA_To_ZQHSL(ZQHSL* out, ZQRGBA colour) noexcept {
  constexpr double k = 1.0 / 255;
  if (out) *out = FromRgb(colour.red * k, colour.green * k, colour.blue * k, colour.alpha * k);
}
ZQAPI void WINAPI ZQRGBAFLOAT_To_ZQHSL(ZQHSL* out, ZQRGBAFLOAT c) noexcept {
  if (out) *out = FromRgb(c.red, c.green, c.blue, c.alpha);
}
ZQAPI void WINAPI ZQDIBPIXEL_To_ZQHSL(ZQHSL* out, ZQDIBPIXEL c) noexcept {
  if (out) *out = FromRgb(c.red, c.green, c.blue, c.alpha);
}
ZQAPI void WINAPI ZQHSL_To_ZQRGBA(ZQRGBA* out, ZQHSL hsl) noexcept {
  if (!out) return;
  Rgb c = ToRgb(hsl);
  out->blue = static_cast<BYTE>(ScaledLevel(c.blue, 255));
  out->green = static_cast<BYTE>(ScaledLevel(c.green, 255));
  out->red = static_cast<BYTE>(ScaledLevel(c.red, 255));
  out->alpha = static_cast<BYTE>(ScaledLevel(hsl.alpha, 255));
}
ZQAPI void WINAPI ZQHSL_To_ZQRGBAFLOAT(ZQRGBAFLOAT* out, ZQHSL hsl) noexcept {
  if (out) StoreFloat(out, hsl);
}
ZQAPI void WINAPI ZQHSL_To_ZQDIBPIXEL(ZQDIBPIXEL* out, ZQHSL hsl) noexcept {
  if (out) StoreFloat(out, hsl);
}
