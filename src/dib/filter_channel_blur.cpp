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

// Block averaging as the pixelating reducer does it: blocks of
// trunc(factor) pixels starting at trunc(x x factor), the mean taken as
// sum x 1 / (block size), truncated.
void Reduce(const zq::dib::FilterRegion& r, int channelOffset, int width, int height, std::vector<BYTE>& out) {
  const int64_t fx = static_cast<int64_t>(static_cast<double>(r.width) / width * kOne);
  const int64_t fy = static_cast<int64_t>(static_cast<double>(r.height) / height * kOne);
  const int bw = static_cast<int>(fx / kOne) > 0 ? static_cast<int>(fx / kOne) : 1;
  const int bh = static_cast<int>(fy / kOne) > 0 ? static_cast<int>(fy / kOne) : 1;
  const double scale = 1.0 / (static_cast<double>(bw) * bh);
  for (int y = 0; y < height; ++y) {
    const int top = static_cast<int>(y * fy / kOne);
    for (int x = 0; x < width; ++x) {
      const int left = static_cast<int>(x * fx / kOne);
      uint64_t sum = 0;
      for (int j = 0; j < bh && top + j < r.height; ++j) {
        const BYTE* row = r.SourceRow(top + j);
        for (int i = 0; i < bw && left + i < r.width; ++i) sum += row[(left + i) * 4 + channelOffset];
      }
      out[static_cast<size_t>(y) * width + x] = static_cast<BYTE>(static_cast<double>(sum) * scale);
    }
  }
}

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

  std::vector<BYTE> small;
  try {
    small.resize(static_cast<size_t>(reducedW) * reducedH);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  Reduce(r, zq::dib::ChannelOffset(srcChannel, 4), reducedW, reducedH, small);

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
