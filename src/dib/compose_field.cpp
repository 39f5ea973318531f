// The 3 x 3 field blend and the accumulation of a sub-pixel-shifted image.
#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "dib/compose_internal.h"
#include "dib/dib_internal.h"
#include "zq/overlay.h"

namespace zq::dib {
namespace {

// Weights 1 2 1 / 2 4 2 / 1 2 1 over a copy of the source region, its
// edges repeated outward.
template <typename T, typename Out>
void Field(const PairRegion& r, int bytes, const std::vector<BYTE>& copy, Out&& store) {
  size_t rowBytes = static_cast<size_t>(r.width) * bytes;
  int per = bytes / static_cast<int>(sizeof(T));
  auto at = [&](int x, int y, int c) {
    x = std::clamp(x, 0, r.width - 1);
    y = std::clamp(y, 0, r.height - 1);
    T v;
    std::memcpy(&v, copy.data() + rowBytes * y + static_cast<size_t>(x) * bytes + c * sizeof(T), sizeof(T));
    return v;
  };
  for (int y = 0; y < r.height; ++y) {
    BYTE* d = r.DstRow(y);
    for (int x = 0; x < r.width; ++x, d += bytes)
      for (int c = 0; c < per; ++c) {
        auto edges = at(x - 1, y, c) + at(x + 1, y, c) + at(x, y - 1, c) + at(x, y + 1, c);
        auto corners = at(x - 1, y - 1, c) + at(x + 1, y - 1, c) + at(x - 1, y + 1, c) + at(x + 1, y + 1, c);
        store(d + c * sizeof(T), at(x, y, c), edges, corners);
      }
  }
}

}  // namespace
}  // namespace zq::dib

using namespace zq::dib;

ZQAPI HRESULT WINAPI ZqDibFieldBlend(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                     const BYTE* srcBase, const RECT* srcBounds, int srcStride, const RECT* srcRect,
                                     int bytesPerPixel) noexcept {
  int bytes = RawBytes(bytesPerPixel);
  PairRegion r;
  HRESULT hr = PreparePair(r, dstBase, dstBounds, dstStride, dstRect, srcBase, srcBounds, srcStride, srcRect, bytes);
  if (FAILED(hr) || r.width <= 0 || r.height <= 0) return hr;
  // The source is copied first: the two regions may share a buffer.
  std::vector<BYTE> copy;
  size_t rowBytes = static_cast<size_t>(r.width) * bytes;
  try {
    copy.resize(rowBytes * r.height);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  for (int y = 0; y < r.height; ++y) std::memcpy(copy.data() + rowBytes * y, r.SrcRow(y), rowBytes);
  if (bytes == 4) {
    Field<BYTE>(r, 4, copy, [](BYTE* d, int centre, int edges, int corners) {
      *d = static_cast<BYTE>((4 * centre + 2 * edges + corners) / 16);
    });
  } else {
    Field<float>(r, 16, copy, [](BYTE* d, float centre, float edges, float corners) {
      StoreFloat(d, 0.25f * centre + 0.125f * edges + 0.0625f * corners);
    });
  }
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqDibAccumulate(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                     const BYTE* srcBase, const RECT* srcBounds, int srcStride, const RECT* srcRect,
                                     int mode, double weight, double offsetX, double offsetY,
                                     int bytesPerPixel) noexcept {
  if (!dstBase || !srcBase || !dstBounds || !srcBounds) return E_POINTER;
  if (mode != 2 && mode != 3) return E_NOTIMPL;
  int bytes = RawBytes(bytesPerPixel);
  RECT d, s;
  HRESULT hr = PrepareEqualPair(*dstBounds, dstRect, *srcBounds, srcRect, &d, &s);
  if (FAILED(hr)) return hr;
  if (mode == 2) return E_NOTIMPL;
  if (hr == S_FALSE) return S_OK;
  double unit = UnitInterval(weight);
  // Offsets in 18.14, held in the float domain to what a position can hold.
  auto fixed = [](double v) -> int64_t {
    double x = v * 16384.0;
    if (!(x == x)) return 0;
    return static_cast<int64_t>(std::clamp(x, -2147483648.0, 2147483647.0));
  };
  int64_t ox = fixed(offsetX), oy = fixed(offsetY);
  int sw = srcBounds->right - srcBounds->left, sh = srcBounds->bottom - srcBounds->top;
  const BYTE* origin = srcBase + static_cast<ptrdiff_t>(srcStride) * srcBounds->top +
                       static_cast<ptrdiff_t>(bytes) * srcBounds->left;
  int w8 = static_cast<int>(unit * 16384.0);
  float wf = static_cast<float>(unit);
  for (int y = d.top; y < d.bottom; ++y) {
    BYTE* row = dstBase + static_cast<ptrdiff_t>(dstStride) * y;
    int64_t py = (static_cast<int64_t>(s.top + (y - d.top) - srcBounds->top) << 14) + oy;
    for (int x = d.left; x < d.right; ++x) {
      int64_t px = (static_cast<int64_t>(s.left + (x - d.left) - srcBounds->left) << 14) + ox;
      if (px < INT32_MIN || px > INT32_MAX || py < INT32_MIN || py > INT32_MAX) continue;
      BYTE* p = row + static_cast<ptrdiff_t>(bytes) * x;
      if (bytes == 4) {
        BYTE sample[4];
        ZqGetSubPixel32Safe(sample, origin, sw, sh, srcStride, static_cast<int>(px), static_cast<int>(py));
        if ((sample[0] | sample[1] | sample[2] | sample[3]) == 0) continue;
        for (int c = 0; c < 4; ++c) p[c] = static_cast<BYTE>(std::min(255, p[c] + (w8 * sample[c]) / 16384));
      } else {
        float sample[4];
        if (!ZqGetSubPixel128Safe(sample, reinterpret_cast<const float*>(origin), sw, sh, srcStride,
                                  static_cast<int>(px), static_cast<int>(py)))
          continue;
        for (int c = 0; c < 4; ++c) {
          float v = LoadFloat(p + 4 * c) + sample[c] * wf;
          StoreFloat(p + 4 * c, v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f);
        }
      }
    }
  }
  return S_OK;
}
