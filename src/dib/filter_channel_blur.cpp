// Channel blur: one channel reduced by block averaging and enlarged again
// bilinearly, into a destination filled with opaque black.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "dib/dib_internal.h"
#include "dib/filter_region.h"
#include "zq/dib.h"
#include "zq/dibfilter.h"

namespace {

constexpr int64_t kOne = 16384;  // 18.14 fixed point

// The 18.14 step from `full` destination pixels back over `reduced`
// pixels; 0 when there is only one destination pixel.
int64_t Step(int reduced, int full) { return full > 1 ? (reduced - 1) * kOne / (full - 1) : 0; }

}  // namespace

ZQAPI HRESULT WINAPI ZqDibChannelBlur(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                      int dstChannel, const BYTE* srcBase, const RECT* srcBounds, int srcStride,
                                      const RECT* srcRect, int srcChannel, int bytesPerPixel,
                                      double amount) noexcept {
  if (dstChannel < 0 || dstChannel > 3 || srcChannel < 0 || srcChannel > 3) return E_INVALIDARG;
  zq::dib::FilterRegion r;
  HRESULT hr = zq::dib::PrepareFilterRegion(r, dstBase, dstBounds, dstStride, dstRect, srcBase, srcBounds,
                                            srcStride, srcRect, bytesPerPixel);
  if (FAILED(hr) || r.width == 0) return hr;
  // NaN and values outside 0..1 are held to the range first.
  if (!(amount > 0.0)) amount = 0.0;
  if (amount > 1.0) amount = 1.0;
  const int reducedW = std::min(r.width, std::max(2, static_cast<int>((1.0 - amount) * r.width)));
  const int reducedH = std::min(r.height, std::max(2, static_cast<int>((1.0 - amount) * r.height)));

  // The destination region, at the destination's own address.
  const RECT whole{0, 0, r.width, r.height};
  ZqDibSetUnscaled(r.dst, &whole, r.dstStride, nullptr, r.bytes, 0.0, 0.0, 0.0, 1.0);
  if (r.bytes != 4 || (reducedW == r.width && reducedH == r.height)) return S_OK;

  // The whole pixels reduced by the pixelating reducer, then the channel.
  std::vector<BYTE> reduced, small;
  try {
    reduced.resize(static_cast<size_t>(reducedW) * reducedH * 4);
    small.resize(static_cast<size_t>(reducedW) * reducedH);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  const RECT reducedBounds{0, 0, reducedW, reducedH}, sourceBounds{0, 0, r.width, r.height};
  hr = ZqPixelate(reduced.data(), &reducedBounds, reducedW * 4, nullptr, r.src, &sourceBounds, r.srcStride, nullptr, 4);
  if (FAILED(hr)) return hr;
  const int in = zq::dib::ChannelOffset(srcChannel, 4);
  for (size_t i = 0; i < small.size(); ++i) small[i] = reduced[i * 4 + in];

  const int64_t stepX = Step(reducedW, r.width), stepY = Step(reducedH, r.height);
  const int out = zq::dib::ChannelOffset(dstChannel, 4);
  for (int y = 0; y < r.height; ++y) {
    const int64_t py = y * stepY;
    const int y0 = static_cast<int>(py / kOne), y1 = std::min(y0 + 1, reducedH - 1);
    const int64_t wy = py % kOne;
    BYTE* row = r.DestinationRow(y);
    for (int x = 0; x < r.width; ++x) {
      const int64_t px = x * stepX;
      const int x0 = static_cast<int>(px / kOne), x1 = std::min(x0 + 1, reducedW - 1);
      const int64_t wx = px % kOne;
      const BYTE* a = &small[static_cast<size_t>(y0) * reducedW];
      const BYTE* b = &small[static_cast<size_t>(y1) * reducedW];
      const int64_t top = (a[x0] * (kOne - wx) + a[x1] * wx) >> 14;
      const int64_t bottom = (b[x0] * (kOne - wx) + b[x1] * wx) >> 14;
      row[x * 4 + out] = static_cast<BYTE>((top * (kOne - wy) + bottom * wy) >> 14);
    }
  }
  return S_OK;
}
