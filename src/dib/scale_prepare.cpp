// Sub-pixel region preparation, per-axis sampling plans, bicubic weight
// tables, kernel choice and the scalers' exports. All 18.14 products are
// formed in 64 bits.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

#include "dib/scale_internal.h"

namespace zq::dib {
namespace {

struct Span {
  int64_t left, top, right, bottom;
  int64_t Width() const noexcept { return right - left; }
  int64_t Height() const noexcept { return bottom - top; }
};
Span Meet(const Span& a, const Span& b) noexcept {
  Span r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (r.right <= r.left || r.bottom <= r.top) return Span{0, 0, 0, 0};
  return r;
}
Span FromRect(const RECT& r) noexcept { return Span{r.left, r.top, r.right, r.bottom}; }
RECT ToRect(const Span& s) noexcept {
  return RECT{static_cast<LONG>(s.left), static_cast<LONG>(s.top), static_cast<LONG>(s.right),
              static_cast<LONG>(s.bottom)};
}
constexpr int kMaxSize = 131071;  // the largest size whose 18.14 form fits 32 bits

// w(x) of the cubic convolution kernel, a = -0.5.
double CubicWeight(double x) {
  x = std::fabs(x);
  if (x < 1) return 1.5 * x * x * x - 2.5 * x * x + 1;
  if (x < 2) return -0.5 * x * x * x + 2.5 * x * x - 4 * x + 2;
  return 0;
}
void FillCubic(CubicTable& t, int entries) {
  t.entries = entries;
  t.weights.resize(entries * 4);
  t.fixed.resize(entries * 4);
  for (int i = 0; i < entries; ++i) {
    double f = static_cast<double>(i) / entries;
    double w[4] = {CubicWeight(1 + f), CubicWeight(f), CubicWeight(1 - f), CubicWeight(2 - f)};
    for (int k = 0; k < 4; ++k) {
      t.weights[i * 4 + k] = static_cast<float>(w[k]);
      t.fixed[i * 4 + k] = static_cast<int>(w[k] * 16384);  // truncated toward zero
    }
  }
}

}  // namespace

const CubicTable& CoarseCubic() {
  static CubicTable table;
  static std::once_flag once;
  std::call_once(once, [] { FillCubic(table, 4096); });
  return table;
}
const CubicTable& FineCubic() {
  static CubicTable table;
  static std::once_flag once;
  std::call_once(once, [] { FillCubic(table, 16384); });
  return table;
}

int PrepareSubpixel(ZQSUBPIXELPARAM* p, BYTE* dstBase, const SIZE& dstSize, int dstStride, const RECT* dstRect,
                    const BYTE* srcBase, const SIZE& srcSize, int srcStride, const RECT* srcRect) noexcept {
  std::memset(p, 0, sizeof(*p));
  if (dstSize.cx <= 0 || dstSize.cy <= 0 || srcSize.cx <= 0 || srcSize.cy <= 0 || dstSize.cx > kMaxSize ||
      dstSize.cy > kMaxSize || srcSize.cx > kMaxSize || srcSize.cy > kMaxSize)
    return 0;
  Span dstImage{0, 0, dstSize.cx * kFixedOne, dstSize.cy * kFixedOne};
  Span srcImage{0, 0, srcSize.cx * kFixedOne, srcSize.cy * kFixedOne};
  Span d = dstRect ? FromRect(*dstRect) : dstImage, s = srcRect ? FromRect(*srcRect) : srcImage;
  Span sc = Meet(s, srcImage);
  if (sc.Width() <= 16383 || sc.Height() <= 16383) return 0;
  if (d.Width() < 1024 || d.Height() < 1024) return 0;
  int64_t scaleX = sc.Width() * kFixedOne / d.Width(), scaleY = sc.Height() * kFixedOne / d.Height();
  if (scaleX <= 0 || scaleY <= 0 || scaleX > 0x7FFFFFFF || scaleY > 0x7FFFFFFF) return 0;
  Span dc = Meet(d, dstImage);
  if (dc.Width() < 1024 || dc.Height() < 1024) return 0;
  // The clipped source, carried into destination coordinates, meets the
  // clipped destination; the part that meets goes back into the source.
  Span mapped{d.left, d.top, d.left + sc.Width() * kFixedOne / scaleX, d.top + sc.Height() * kFixedOne / scaleY};
  Span m = Meet(mapped, dc);
  if (m.Width() <= 0) return 0;
  Span fs{sc.left + (m.left - d.left) * scaleX / kFixedOne, sc.top + (m.top - d.top) * scaleY / kFixedOne,
          sc.left + (m.right - d.left) * scaleX / kFixedOne, sc.top + (m.bottom - d.top) * scaleY / kFixedOne};
  fs = Meet(fs, sc);
  if (fs.Width() <= 0) return 0;
  int64_t stepX = 0, stepY = 0;
  if (dc.Width() > 32767) stepX = std::max<int64_t>(0, (fs.Width() - kFixedOne) * kFixedOne / (dc.Width() - kFixedOne));
  if (dc.Height() > 32767)
    stepY = std::max<int64_t>(0, (fs.Height() - kFixedOne) * kFixedOne / (dc.Height() - kFixedOne));
  p->dstBase = dstBase;
  p->dstStride = dstStride;
  p->dstFinal = ToRect(dc);
  p->dstGiven = ToRect(d);
  p->srcBase = const_cast<BYTE*>(srcBase);
  p->srcStride = srcStride;
  p->srcFinal = ToRect(fs);
  p->srcClipped = ToRect(sc);
  p->stepX = static_cast<int>(std::min<int64_t>(stepX, 0x7FFFFFFF));
  p->stepY = static_cast<int>(std::min<int64_t>(stepY, 0x7FFFFFFF));
  p->scaleX = static_cast<int>(scaleX);
  p->scaleY = static_cast<int>(scaleY);
  return 1;
}

void PlanAxis(Axis& a, int64_t dstLow, int64_t dstHigh, int64_t srcLow, int64_t srcHigh, int64_t step, int64_t scale,
              int size, bool area, bool cubic) {
  a.first = static_cast<int>(dstLow >> 14);
  int end = static_cast<int>((dstHigh + kFixedOne - 1) >> 14);
  a.count = end - a.first;
  a.coverage.assign(a.count, static_cast<int>(kFixedOne));
  if (a.count == 1) {
    a.coverage[0] = static_cast<int>(dstHigh - dstLow);
  } else {
    a.coverage[0] = static_cast<int>(kFixedOne - (dstLow & (kFixedOne - 1)));
    if (dstHigh & (kFixedOne - 1)) a.coverage[a.count - 1] = static_cast<int>(dstHigh & (kFixedOne - 1));
  }
  int lastSource = std::min(static_cast<int>((srcHigh + kFixedOne - 1) >> 14), size) - 1;
  a.index.resize(a.count);
  a.next.resize(a.count);
  a.fraction.resize(a.count);
  for (int k = 0; k < a.count; ++k) {
    int64_t position = srcLow + k * step;
    int index = static_cast<int>(position >> 14), fraction = static_cast<int>(position & (kFixedOne - 1));
    if (index >= lastSource) {
      index = lastSource;
      fraction = 0;
    }
    a.index[k] = index;
    a.next[k] = std::min(index + 1, lastSource);
    a.fraction[k] = fraction;
  }
  if (area) {
    a.tapStart.assign(1, 0);
    a.tapIndex.clear();
    a.tapWeight.clear();
    a.weightSum.assign(a.count, 0);
    for (int k = 0; k < a.count; ++k) {
      int64_t low = srcLow + k * scale, high = std::min(srcLow + (k + 1) * scale, srcHigh);
      if (low >= high) {  // past the source's end: its last pixel
        low = static_cast<int64_t>(lastSource) << 14;
        high = low + kFixedOne;
      }
      for (int64_t c = low >> 14; c < (high + kFixedOne - 1) >> 14 && c <= lastSource; ++c) {
        int64_t w = std::min(high, (c + 1) << 14) - std::max(low, c << 14);
        if (w <= 0) continue;
        a.tapIndex.push_back(static_cast<int>(c));
        a.tapWeight.push_back(static_cast<int>(w));
        a.weightSum[k] += w;
      }
      a.tapStart.push_back(static_cast<int>(a.tapIndex.size()));
    }
  }
  if (cubic) {
    a.cubicIndex.resize(a.count * 4);
    a.cubicFraction.resize(a.count);
    for (int k = 0; k < a.count; ++k) {
      int64_t position = srcLow + scale / 2 + kFixedOne / 2 + k * scale;
      int r = static_cast<int>(position >> 14);
      a.cubicFraction[k] = static_cast<int>((position & (kFixedOne - 1)) >> 2);
      for (int t = 0; t < 4; ++t) a.cubicIndex[k * 4 + t] = std::clamp(r - 2 + t, 0, size - 1);
    }
  }
}

Kernel ChooseKernel(const ZQSUBPIXELPARAM& p, bool bicubic, bool shrinkFilter) noexcept {
  bool shrinkX = p.scaleX > kFixedOne, shrinkY = p.scaleY > kFixedOne;
  if (shrinkFilter && shrinkX && shrinkY) return Kernel::Area;
  if (shrinkFilter && shrinkX) return bicubic ? Kernel::AreaThenCubic : Kernel::AreaThenLinear;
  if (shrinkFilter && shrinkY) return bicubic ? Kernel::CubicThenArea : Kernel::LinearThenArea;
  return bicubic ? Kernel::Bicubic : Kernel::Bilinear;
}

bool NarrowAccumulatorFits(Kernel kernel, int scaleX, int scaleY) noexcept {
  double s = scaleX / 16384.0 + 2, v = scaleY / 16384.0 + 2;
  switch (kernel) {
    case Kernel::Area:
      return s * v * 4177920.0 < 536870911.0;
    case Kernel::AreaThenLinear:
    case Kernel::AreaThenCubic:
      return s * 8355840.0 < 536870911.0;
    case Kernel::LinearThenArea:
    case Kernel::CubicThenArea:
      return v * 4177920.0 < 536870911.0;
    default:
      return true;
  }
}

}  // namespace zq::dib

using namespace zq::dib;

namespace {

HRESULT ScaleSubPixel(BYTE* dstBase, const SIZE* dstSize, int dstStride, const RECT* dstRect, const BYTE* srcBase,
                      const SIZE* srcSize, int srcStride, const RECT* srcRect, int bytesPerPixel, BOOL shrinkFilter,
                      BOOL replaceEdges, bool bicubic) noexcept {
  if (!dstBase || !srcBase || !dstSize || !srcSize) return E_POINTER;
  ZQSUBPIXELPARAM p;
  if (!PrepareSubpixel(&p, dstBase, *dstSize, dstStride, dstRect, srcBase, *srcSize, srcStride, srcRect)) return S_OK;
  Plane dst{dstBase, dstSize->cx, dstSize->cy, dstStride},
      src{const_cast<BYTE*>(srcBase), srcSize->cx, srcSize->cy, srcStride};
  try {
    return RunScaler(p, dst, src, bytesPerPixel == 4, ChooseKernel(p, bicubic, shrinkFilter != FALSE),
                     replaceEdges != FALSE);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HRESULT ScaleWhole(BYTE* dstBase, const SIZE* dstSize, int dstStride, const RECT* dstRect, const BYTE* srcBase,
                   const SIZE* srcSize, int srcStride, const RECT* srcRect, int bytesPerPixel, BOOL shrinkFilter,
                   BOOL replaceEdges, bool bicubic) noexcept {
  if (!dstBase || !srcBase || !dstSize || !srcSize) return E_POINTER;
  if (dstSize->cx > 131071 || dstSize->cy > 131071 || srcSize->cx > 131071 || srcSize->cy > 131071) return E_INVALIDARG;
  auto fixed = [](const RECT* r, RECT& out) -> const RECT* {
    if (!r) return nullptr;
    auto clampFixed = [](LONG v) {
      int64_t f = static_cast<int64_t>(v) * kFixedOne;
      return static_cast<LONG>(std::clamp<int64_t>(f, -0x7FFFFFFF, 0x7FFFFFFF));
    };
    out = RECT{clampFixed(r->left), clampFixed(r->top), clampFixed(r->right), clampFixed(r->bottom)};
    return &out;
  };
  RECT d, s;
  const RECT* df = fixed(dstRect, d);
  const RECT* sf = fixed(srcRect, s);
  ZQSUBPIXELPARAM p;
  if (!PrepareSubpixel(&p, dstBase, *dstSize, dstStride, df, srcBase, *srcSize, srcStride, sf)) return S_OK;
  if (p.scaleX == kFixedOne && p.scaleY == kFixedOne && !((p.srcFinal.left | p.srcFinal.top) & (kFixedOne - 1))) {
    // Unscaled: rows as they are.
    int bytes = bytesPerPixel == 4 ? 4 : 16;
    int width = static_cast<int>((p.dstFinal.right - p.dstFinal.left) >> 14);
    int height = static_cast<int>((p.dstFinal.bottom - p.dstFinal.top) >> 14);
    width = std::min<int>(width, static_cast<int>((p.srcFinal.right - p.srcFinal.left) >> 14));
    height = std::min<int>(height, static_cast<int>((p.srcFinal.bottom - p.srcFinal.top) >> 14));
    for (int y = 0; y < height; ++y)
      std::memmove(dstBase + static_cast<ptrdiff_t>(dstStride) * ((p.dstFinal.top >> 14) + y) +
                       static_cast<ptrdiff_t>(bytes) * (p.dstFinal.left >> 14),
                   srcBase + static_cast<ptrdiff_t>(srcStride) * ((p.srcFinal.top >> 14) + y) +
                       static_cast<ptrdiff_t>(bytes) * (p.srcFinal.left >> 14),
                   static_cast<size_t>(width) * bytes);
    return S_OK;
  }
  return ScaleSubPixel(dstBase, dstSize, dstStride, df, srcBase, srcSize, srcStride, sf, bytesPerPixel, shrinkFilter,
                       replaceEdges, bicubic);
}

}  // namespace

ZQAPI int WINAPI ZqPrepareSubpixelParam(ZQSUBPIXELPARAM* record, BYTE* dstBase, const SIZE* dstSize, int dstStride,
                                        const RECT* dstRect, const BYTE* srcBase, const SIZE* srcSize, int srcStride,
                                        const RECT* srcRect) noexcept {
  if (!record) return 0;
  if (!dstSize || !srcSize) {
    std::memset(record, 0, sizeof(*record));
    return 0;
  }
  return PrepareSubpixel(record, dstBase, *dstSize, dstStride, dstRect, srcBase, *srcSize, srcStride, srcRect);
}

ZQAPI HRESULT WINAPI ZqDibScale_Bilinear(BYTE* dstBase, const SIZE* dstSize, int dstStride, const RECT* dstRect,
                                         const BYTE* srcBase, const SIZE* srcSize, int srcStride, const RECT* srcRect,
                                         int bytesPerPixel, BOOL shrinkFilter, BOOL replaceEdges) noexcept {
  return ScaleWhole(dstBase, dstSize, dstStride, dstRect, srcBase, srcSize, srcStride, srcRect, bytesPerPixel,
                    shrinkFilter, replaceEdges, false);
}
ZQAPI HRESULT WINAPI ZqDibScale_BiCubic(BYTE* dstBase, const SIZE* dstSize, int dstStride, const RECT* dstRect,
                                        const BYTE* srcBase, const SIZE* srcSize, int srcStride, const RECT* srcRect,
                                        int bytesPerPixel, BOOL shrinkFilter, BOOL replaceEdges) noexcept {
  return ScaleWhole(dstBase, dstSize, dstStride, dstRect, srcBase, srcSize, srcStride, srcRect, bytesPerPixel,
                    shrinkFilter, replaceEdges, true);
}
ZQAPI HRESULT WINAPI ZqDibScale_BilinearSubPixel(BYTE* dstBase, const SIZE* dstSize, int dstStride, const RECT* dstRect,
                                                 const BYTE* srcBase, const SIZE* srcSize, int srcStride,
                                                 const RECT* srcRect, int bytesPerPixel, BOOL shrinkFilter,
                                                 BOOL replaceEdges) noexcept {
  return ScaleSubPixel(dstBase, dstSize, dstStride, dstRect, srcBase, srcSize, srcStride, srcRect, bytesPerPixel,
                       shrinkFilter, replaceEdges, false);
}
ZQAPI HRESULT WINAPI ZqDibScale_BiCubicSubPixel(BYTE* dstBase, const SIZE* dstSize, int dstStride, const RECT* dstRect,
                                                const BYTE* srcBase, const SIZE* srcSize, int srcStride,
                                                const RECT* srcRect, int bytesPerPixel, BOOL shrinkFilter,
                                                BOOL replaceEdges) noexcept {
  return ScaleSubPixel(dstBase, dstSize, dstStride, dstRect, srcBase, srcSize, srcStride, srcRect, bytesPerPixel,
                       shrinkFilter, replaceEdges, true);
}
