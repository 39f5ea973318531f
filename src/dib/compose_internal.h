// Pieces the compositing and colour files share: clipped raw-buffer
// regions and float-to-integer conversions that are defined for every
// input (held to range in the float domain first, NaN as the low end).
#pragma once
#include <windows.h>

#include <cstring>

#include "dib/dib_internal.h"
#include "zq/dib.h"

namespace zq::dib {

// A weight or channel level held to 0..1, NaN as 0.
inline double UnitInterval(double v) noexcept { return v > 0.0 ? (v < 1.0 ? v : 1.0) : 0.0; }
// trunc(v x scale) for v held to 0..1 first.
inline int ScaledLevel(double v, int scale) noexcept { return static_cast<int>(UnitInterval(v) * scale); }
// trunc(v) held to lo..hi, NaN as lo.
inline int ClampedInt(double v, int lo, int hi) noexcept {
  if (!(v > lo)) return lo;
  if (v >= hi) return hi;
  return static_cast<int>(v);
}

inline float LoadFloat(const BYTE* p) noexcept {
  float f;
  std::memcpy(&f, p, 4);
  return f;
}
inline void StoreFloat(BYTE* p, float f) noexcept { std::memcpy(p, &f, 4); }

struct OneRegion {
  int width = 0, height = 0;
  BYTE* first = nullptr;
  int stride = 0;
  BYTE* Row(int y) const noexcept { return first + static_cast<ptrdiff_t>(stride) * y; }
};
struct PairRegion {
  int width = 0, height = 0;
  BYTE* dst = nullptr;
  BYTE* src = nullptr;
  int dstStride = 0, srcStride = 0;
  BYTE* DstRow(int y) const noexcept { return dst + static_cast<ptrdiff_t>(dstStride) * y; }
  const BYTE* SrcRow(int y) const noexcept { return src + static_cast<ptrdiff_t>(srcStride) * y; }
};

inline HRESULT PrepareOne(OneRegion& r, BYTE* base, const RECT* bounds, int stride, const RECT* rect,
                          int bytes) noexcept {
  r.stride = stride;
  return ZqDibPrepareSet(&r.width, &r.height, &r.first, base, bounds, stride, rect, bytes);
}
inline HRESULT PreparePair(PairRegion& r, BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                           const BYTE* srcBase, const RECT* srcBounds, int srcStride, const RECT* srcRect,
                           int bytes) noexcept {
  r.dstStride = dstStride;
  r.srcStride = srcStride;
  return ZqDibPrepareCopy(&r.width, &r.height, &r.src, &r.dst, dstBase, dstBounds, dstStride, dstRect, srcBase,
                          srcBounds, srcStride, srcRect, bytes);
}

template <typename Visit>
void EachPixel(const OneRegion& r, int bytes, Visit&& visit) {
  for (int y = 0; y < r.height; ++y) {
    BYTE* p = r.Row(y);
    for (int x = 0; x < r.width; ++x, p += bytes) visit(p);
  }
}
template <typename Visit>
void EachPair(const PairRegion& r, int bytes, Visit&& visit) {
  for (int y = 0; y < r.height; ++y) {
    BYTE* d = r.DstRow(y);
    const BYTE* s = r.SrcRow(y);
    for (int x = 0; x < r.width; ++x, d += bytes, s += bytes) visit(d, s);
  }
}

}  // namespace zq::dib
