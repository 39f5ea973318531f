// Fading a rectangle of an image block toward a colour, with partly
// covered edge pixels of a sub-pixel rectangle faded in proportion.
#include <algorithm>
#include <cstdint>

#include "dib/compose_internal.h"
#include "dib/dib_internal.h"
#include "zq/overlay.h"

namespace zq::dib {
namespace {

constexpr int64_t kOne = 16384;

// round(x / 255) as ((x + 128) + ((x + 128) >> 8)) >> 8, shifts arithmetic.
inline int Round255(int x) noexcept { return ((x + 128) + ((x + 128) >> 8)) >> 8; }
inline BYTE Faded(int v, int colour, int amount) noexcept {
  return static_cast<BYTE>(std::clamp(v + Round255((colour - v) * amount), 0, 255));
}

// Coverage (14 bits) of pixel `i` of the span [low, high) in 18.14.
struct Span {
  int64_t low, high;
  int first, last;  // pixel indices
  Span(int64_t lo, int64_t hi) : low(lo), high(hi), first(static_cast<int>(lo / kOne)),
                                 last(static_cast<int>((hi + kOne - 1) / kOne) - 1) {}
  int64_t Coverage(int i) const noexcept {
    if (first == last) return high - low;
    if (i == first) return low % kOne ? kOne - low % kOne : kOne;
    if (i == last) return high % kOne ? high % kOne : kOne;
    return kOne;
  }
};

}  // namespace
}  // namespace zq::dib

using namespace zq::dib;

ZQAPI HRESULT WINAPI ZqDibFadeToColor(BITMAPINFOHEADER* header, void* bits, const RECT* rect, int stride,
                                      ZQRGBAFLOAT colour, float amount, BOOL colourOnly, DWORD flags) noexcept {
  Image image;
  HRESULT hr = OpenImage(header, bits, stride, &image);
  if (FAILED(hr)) return hr;
  if (image.type != ZqPixel_Rgb32 && image.type != ZqPixel_Rgba32 && image.type != ZqPixel_RgbaFloat)
    return E_NOTIMPL;
  int64_t l = 0, t = 0, r = image.width * kOne, b = image.height * kOne;
  if (rect) {
    int64_t scale = (flags & ZQDIB_SUBPIXEL) ? 1 : kOne;
    l = std::max<int64_t>(l, rect->left * scale);
    t = std::max<int64_t>(t, rect->top * scale);
    r = std::min<int64_t>(r, rect->right * scale);
    b = std::min<int64_t>(b, rect->bottom * scale);
  }
  if (r <= l || b <= t) return S_OK;
  Span columns(l, r), rows(t, b);
  double unit = UnitInterval(amount);
  int channels = colourOnly ? 3 : 4;
  if (image.type == ZqPixel_RgbaFloat) {
    const float target[4] = {colour.blue, colour.green, colour.red, colour.alpha};
    for (int y = rows.first; y <= rows.last; ++y) {
      float* p = reinterpret_cast<float*>(image.Row(y)) + 4 * columns.first;
      double rowAmount = unit * static_cast<double>(rows.Coverage(y)) / kOne;
      for (int x = columns.first; x <= columns.last; ++x, p += 4) {
        float e = static_cast<float>(rowAmount * static_cast<double>(columns.Coverage(x)) / kOne);
        for (int c = 0; c < channels; ++c) p[c] += (target[c] - p[c]) * e;
      }
    }
    return S_OK;
  }
  const int target[4] = {ScaledLevel(colour.blue, 255), ScaledLevel(colour.green, 255), ScaledLevel(colour.red, 255),
                         ScaledLevel(colour.alpha, 255)};
  int full = static_cast<int>(unit * 255.0);
  BYTE tables[4][256];
  for (int c = 0; c < 4; ++c)
    for (int v = 0; v < 256; ++v) tables[c][v] = Faded(v, target[c], full);
  for (int y = rows.first; y <= rows.last; ++y) {
    BYTE* p = image.Row(y) + 4 * columns.first;
    int64_t rowCoverage = rows.Coverage(y);
    for (int x = columns.first; x <= columns.last; ++x, p += 4) {
      int64_t coverage = rowCoverage * columns.Coverage(x);
      if (coverage == kOne * kOne) {
        for (int c = 0; c < channels; ++c) p[c] = tables[c][p[c]];
      } else {
        int own = static_cast<int>(unit * static_cast<double>(coverage) / (kOne * kOne) * 255.0);
        for (int c = 0; c < channels; ++c) p[c] = Faded(p[c], target[c], own);
      }
    }
  }
  return S_OK;
}
