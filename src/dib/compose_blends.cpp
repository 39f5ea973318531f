// Two-buffer blends: over, under, the alpha-value blends, the weighted
// cross-fade and the caller's own blend.
#include <algorithm>

#include "dib/blend_kernels.h"
#include "dib/compose_internal.h"
#include "zq/overlay.h"

namespace zq::dib {
namespace {

// Signed division by 256 truncating toward zero.
inline int Div256(int x) noexcept { return x < 0 ? -((-x) >> 8) : x >> 8; }
inline BYTE Byte(int v) noexcept { return static_cast<BYTE>(std::clamp(v, 0, 255)); }
inline float Unit(float v) noexcept { return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f; }

// Float channels at d and s, four of them.
template <typename F>
void FloatChannels(BYTE* d, const BYTE* s, F&& f) {
  float dv[4], sv[4];
  std::memcpy(dv, d, 16);
  std::memcpy(sv, s, 16);
  f(dv, sv);
  std::memcpy(d, dv, 16);
}

void OverMatte8(const PairRegion& r, const double* matte) {
  int m[3];
  for (int c = 0; c < 3; ++c) m[c] = ClampedInt(matte[c] * 255.0, 0, 255);
  EachPair(r, 4, [&](BYTE* d, const BYTE* s) {
    for (int c = 0; c < 3; ++c) d[c] = Byte(s[c] + (d[c] - m[c]) + Div256((m[c] - d[c]) * s[3]));
  });
}
void OverMatteFloat(const PairRegion& r, const double* matte) {
  float m[3] = {static_cast<float>(matte[0]), static_cast<float>(matte[1]), static_cast<float>(matte[2])};
  EachPair(r, 16, [&](BYTE* d, const BYTE* s) {
    FloatChannels(d, s, [&](float* dv, const float* sv) {
      for (int c = 0; c < 3; ++c) dv[c] = Unit((m[c] - dv[c]) * sv[3] + (dv[c] + sv[c] - m[c]));
    });
  });
}

// Applies a row kernel to every row of the region.
template <typename Row, typename... Args>
void Rows(const PairRegion& r, Row row, Args... args) {
  for (int y = 0; y < r.height; ++y) row(r.DstRow(y), r.SrcRow(y), r.width, args...);
}

}  // namespace
}  // namespace zq::dib

using namespace zq::dib;

ZQAPI HRESULT WINAPI ZqDibOver(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                               const BYTE* srcBase, const RECT* srcBounds, int srcStride, const RECT* srcRect,
                               int bytesPerPixel, const double* matte) noexcept {
  int bytes = RawBytes(bytesPerPixel);
  PairRegion r;
  HRESULT hr = PreparePair(r, dstBase, dstBounds, dstStride, dstRect, srcBase, srcBounds, srcStride, srcRect, bytes);
  if (FAILED(hr) || r.width <= 0 || r.height <= 0) return hr;
  if (matte) {
    if (bytes == 4)
      OverMatte8(r, matte);
    else
      OverMatteFloat(r, matte);
  } else if (bytes == 4) {
    Rows(r, Pick(OverForms()));
  } else {
    EachPair(r, 16, [](BYTE* d, const BYTE* s) {
      FloatChannels(d, s, [](float* dv, const float* sv) {
        for (int c = 0; c < 4; ++c) dv[c] += (sv[c] - dv[c]) * sv[3];
      });
    });
  }
  return hr;
}

ZQAPI HRESULT WINAPI ZqDibUnder(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                const BYTE* srcBase, const RECT* srcBounds, int srcStride, const RECT* srcRect,
                                int bytesPerPixel) noexcept {
  int bytes = RawBytes(bytesPerPixel);
  PairRegion r;
  HRESULT hr = PreparePair(r, dstBase, dstBounds, dstStride, dstRect, srcBase, srcBounds, srcStride, srcRect, bytes);
  if (FAILED(hr) || r.width <= 0 || r.height <= 0) return hr;
  if (bytes == 4) {
    Rows(r, Pick(UnderForms()));
  } else {
    EachPair(r, 16, [](BYTE* d, const BYTE* s) {
      FloatChannels(d, s, [](float* dv, const float* sv) {
        float a = dv[3];
        for (int c = 0; c < 4; ++c) dv[c] = sv[c] + a * (dv[c] - sv[c]);
      });
    });
  }
  return hr;
}

ZQAPI HRESULT WINAPI ZqDibAbsoluteAlphaValueBlend(BYTE* dstBase, const RECT* dstBounds, int dstStride,
                                                  const RECT* dstRect, const BYTE* srcBase, const RECT* srcBounds,
                                                  int srcStride, const RECT* srcRect, int bytesPerPixel,
                                                  double weight) noexcept {
  int bytes = RawBytes(bytesPerPixel);
  PairRegion r;
  HRESULT hr = PreparePair(r, dstBase, dstBounds, dstStride, dstRect, srcBase, srcBounds, srcStride, srcRect, bytes);
  if (FAILED(hr)) return hr;
  double unit = UnitInterval(weight);
  if (bytes == 4) {
    int w = static_cast<int>(unit * 255.0 + 0.5);
    EachPair(r, 4, [&](BYTE* d, const BYTE* s) {
      for (int c = 0; c < 4; ++c) d[c] = static_cast<BYTE>(d[c] + Div256(w * (s[c] - d[c])));
    });
  } else {
    float w = static_cast<float>(unit);
    EachPair(r, 16, [&](BYTE* d, const BYTE* s) {
      FloatChannels(d, s, [&](float* dv, const float* sv) {
        for (int c = 0; c < 4; ++c) dv[c] += (sv[c] - dv[c]) * w;
      });
    });
  }
  return hr;
}

ZQAPI HRESULT WINAPI ZqDibRelativeAlphaValueBlend(BYTE* dstBase, const RECT* dstBounds, int dstStride,
                                                  const RECT* dstRect, const BYTE* srcBase, const RECT* srcBounds,
                                                  int srcStride, const RECT* srcRect, int bytesPerPixel,
                                                  double weight) noexcept {
  int bytes = RawBytes(bytesPerPixel);
  PairRegion r;
  HRESULT hr = PreparePair(r, dstBase, dstBounds, dstStride, dstRect, srcBase, srcBounds, srcStride, srcRect, bytes);
  if (FAILED(hr)) return hr;
  double unit = UnitInterval(weight);
  if (bytes == 4) {
    int w = static_cast<int>(unit * 255.0);
    EachPair(r, 4, [&](BYTE* d, const BYTE* s) {
      int t = (s[3] * w) >> 8;
      for (int c = 0; c < 4; ++c) d[c] = static_cast<BYTE>(d[c] + Div256(t * (s[c] - d[c])));
    });
  } else {
    float w = static_cast<float>(unit);
    EachPair(r, 16, [&](BYTE* d, const BYTE* s) {
      FloatChannels(d, s, [&](float* dv, const float* sv) {
        float t = w * sv[3];
        for (int c = 0; c < 4; ++c) dv[c] += (sv[c] - dv[c]) * t;
      });
    });
  }
  return hr;
}

ZQAPI HRESULT WINAPI ZqDibCustomBlend(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                      const BYTE* srcBase, const RECT* srcBounds, int srcStride, const RECT* srcRect,
                                      int bytesPerPixel, ZQBLENDPROC function, DWORD_PTR user) noexcept {
  if (!function) return E_POINTER;
  int bytes = RawBytes(bytesPerPixel);
  PairRegion r;
  HRESULT hr = PreparePair(r, dstBase, dstBounds, dstStride, dstRect, srcBase, srcBounds, srcStride, srcRect, bytes);
  if (FAILED(hr)) return hr;
  EachPair(r, bytes, [&](BYTE* d, const BYTE* s) { function(d, s, user); });
  return hr;
}

ZQAPI HRESULT WINAPI ZqDibWeightedCrossFade(BYTE* dstBase, const RECT* dstBounds, int dstStride,
                                            const RECT* dstRect, double dstWeight, const BYTE* srcBase,
                                            const RECT* srcBounds, int srcStride, const RECT* srcRect,
                                            double srcWeight, int bytesPerPixel) noexcept {
  int bytes = RawBytes(bytesPerPixel);
  PairRegion r;
  HRESULT hr = PreparePair(r, dstBase, dstBounds, dstStride, dstRect, srcBase, srcBounds, srcStride, srcRect, bytes);
  if (FAILED(hr) || r.width <= 0 || r.height <= 0) return hr;
  // Weights held to 0..1: the 8-bit sums stay below 2^24.
  double a = UnitInterval(dstWeight), b = UnitInterval(srcWeight);
  if (bytes == 4) {
    Rows(r, Pick(CrossFadeForms()), static_cast<int>(a * 16384.0), static_cast<int>(b * 16384.0));
  } else {
    float fa = static_cast<float>(a), fb = static_cast<float>(b);
    EachPair(r, 16, [&](BYTE* d, const BYTE* s) {
      FloatChannels(d, s, [&](float* dv, const float* sv) {
        for (int c = 0; c < 4; ++c) dv[c] = std::min(1.0f, fb * sv[c] + fa * dv[c]);
      });
    });
  }
  return hr;
}
