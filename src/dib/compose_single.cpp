// One-buffer operations: blend with a colour, premultiplication, its
// repairs and the alpha preparation that chooses among them.
#include <algorithm>

#include "dib/compose_internal.h"
#include "zq/overlay.h"

namespace zq::dib {
namespace {

inline int Div256(int x) noexcept { return x < 0 ? -((-x) >> 8) : x >> 8; }

template <typename F>
void EachFloatPixel(const OneRegion& r, F&& f) {
  EachPixel(r, 16, [&](BYTE* p) {
    float v[4];
    std::memcpy(v, p, 16);
    f(v);
    std::memcpy(p, v, 16);
  });
}

HRESULT Patch(BYTE* base, const RECT* bounds, int stride, const RECT* rect, int bytesPerPixel) noexcept {
  int bytes = RawBytes(bytesPerPixel);
  OneRegion r;
  HRESULT hr = PrepareOne(r, base, bounds, stride, rect, bytes);
  if (FAILED(hr)) return hr;
  if (bytes == 4)
    EachPixel(r, 4, [](BYTE* p) {
      for (int c = 0; c < 3; ++c) p[c] = std::min(p[c], p[3]);
    });
  else
    EachFloatPixel(r, [](float* v) {
      for (int c = 0; c < 3; ++c) v[c] = std::min(v[c], v[3]);
    });
  return hr;
}

}  // namespace
}  // namespace zq::dib

using namespace zq::dib;

ZQAPI HRESULT WINAPI ZqDibBlendWithColor(BYTE* base, const RECT* bounds, int stride, const RECT* rect,
                                         int bytesPerPixel, const double* colour) noexcept {
  if (!colour) return E_POINTER;
  int bytes = RawBytes(bytesPerPixel);
  OneRegion r;
  HRESULT hr = PrepareOne(r, base, bounds, stride, rect, bytes);
  if (FAILED(hr)) return hr;
  if (bytes == 4) {
    int c8[3] = {ScaledLevel(colour[0], 255), ScaledLevel(colour[1], 255), ScaledLevel(colour[2], 255)};
    int a = ScaledLevel(colour[3], 255);
    EachPixel(r, 4, [&](BYTE* p) {
      for (int c = 0; c < 3; ++c) p[c] = static_cast<BYTE>(p[c] + Div256(a * (c8[c] - p[c])));
    });
  } else {
    float cf[3] = {static_cast<float>(UnitInterval(colour[0])), static_cast<float>(UnitInterval(colour[1])),
                   static_cast<float>(UnitInterval(colour[2]))};
    float a = static_cast<float>(UnitInterval(colour[3]));
    EachFloatPixel(r, [&](float* v) {
      for (int c = 0; c < 3; ++c) v[c] += (cf[c] - v[c]) * a;
    });
  }
  return hr;
}

ZQAPI HRESULT WINAPI ZqDibPremultiply(BYTE* base, const RECT* bounds, int stride, const RECT* rect,
                                      int bytesPerPixel) noexcept {
  int bytes = RawBytes(bytesPerPixel);
  OneRegion r;
  HRESULT hr = PrepareOne(r, base, bounds, stride, rect, bytes);
  if (FAILED(hr)) return hr;
  if (bytes == 4)
    EachPixel(r, 4, [](BYTE* p) {
      for (int c = 0; c < 3; ++c) p[c] = static_cast<BYTE>(p[c] * p[3] >> 8);
    });
  else
    EachFloatPixel(r, [](float* v) {
      for (int c = 0; c < 3; ++c) v[c] *= v[3];
    });
  return hr;
}

ZQAPI HRESULT WINAPI ZqDibPatchPreMultiplied(BYTE* base, const RECT* bounds, int stride, const RECT* rect,
                                             int bytesPerPixel) noexcept {
  return Patch(base, bounds, stride, rect, bytesPerPixel);
}

ZQAPI HRESULT WINAPI ZqDibPrepAlphaImage(BYTE* base, const RECT* bounds, int stride, const RECT* rect, int,
                                         const float* matte, int bytesPerPixel) noexcept {
  if (!matte || !(matte[0] + matte[1] + matte[2] > 0.0f)) return Patch(base, bounds, stride, rect, bytesPerPixel);
  int bytes = RawBytes(bytesPerPixel);
  OneRegion r;
  HRESULT hr = PrepareOne(r, base, bounds, stride, rect, bytes);
  if (FAILED(hr) || bytes != 4) return hr;  // float pixels are left as they are
  int m[3];
  for (int c = 0; c < 3; ++c) m[c] = ClampedInt(matte[c] * 255.0, 0, 255);
  EachPixel(r, 4, [&](BYTE* p) {
    int a = p[3];
    for (int c = 0; c < 3; ++c) p[c] = static_cast<BYTE>(std::clamp(p[c] - m[c] + (a * m[c]) / 256, 0, a));
  });
  return hr;
}

namespace {
inline HRESULT Succeeded(HRESULT hr) noexcept { return FAILED(hr) ? hr : S_OK; }
}  // namespace

ZQAPI HRESULT WINAPI ZqDibPrepAlpha(BYTE* base, int width, int height, int stride, const RECT* rect, int mode,
                                    const float* matte, int bytesPerPixel) noexcept {
  RECT bounds{0, 0, width, height};
  switch (mode) {
    // 0 for these modes, unless the buffer could not be reached at all.
    case 0:
    case -1:
      return Succeeded(ZqDibChannelSet(base, &bounds, stride, rect, bytesPerPixel, 3, 1.0));
    case 1:
      return Succeeded(ZqDibPremultiply(base, &bounds, stride, rect, bytesPerPixel));
    case 2:
    case 3:
      return Succeeded(ZqDibPrepAlphaImage(base, &bounds, stride, rect, mode == 3 ? 1 : 0, matte, bytesPerPixel));
    default:
      return E_NOTIMPL;
  }
}
