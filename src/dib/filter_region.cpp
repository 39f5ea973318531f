#include "dib/filter_region.h"

#include <cstring>

#include "dib/dib_internal.h"

namespace zq::dib {

HRESULT PrepareFilterRegion(FilterRegion& region, BYTE* dstBase, const RECT* dstBounds, int dstStride,
                            const RECT* dstRect, const BYTE* srcBase, const RECT* srcBounds, int srcStride,
                            const RECT* srcRect, int bytesPerPixel) noexcept {
  region.bytes = RawBytes(bytesPerPixel);
  BYTE* src = nullptr;
  HRESULT hr = ZqDibPrepareCopy(&region.width, &region.height, &src, &region.dst, dstBase, dstBounds, dstStride,
                                dstRect, srcBase, srcBounds, srcStride, srcRect, region.bytes);
  if (FAILED(hr) || region.width <= 0 || region.height <= 0) {
    region.width = region.height = 0;
    return hr;
  }
  region.src = src;
  region.srcStride = srcStride;
  region.dstStride = dstStride;
  const size_t rowBytes = static_cast<size_t>(region.width) * region.bytes;
  // The spans the two regions cover; any overlap sends the source aside.
  auto span = [&](const BYTE* first, int stride) {
    const BYTE* last = first + static_cast<ptrdiff_t>(stride) * (region.height - 1);
    const BYTE* low = stride < 0 ? last : first;
    const BYTE* high = (stride < 0 ? first : last) + rowBytes;
    return std::make_pair(low, high);
  };
  const auto s = span(region.src, srcStride), d = span(region.dst, dstStride);
  if (s.first < d.second && d.first < s.second) {
    try {
      region.copy.resize(rowBytes * region.height);
    } catch (...) {
      return E_OUTOFMEMORY;
    }
    for (int y = 0; y < region.height; ++y)
      memcpy(region.copy.data() + rowBytes * y, region.src + static_cast<ptrdiff_t>(srcStride) * y, rowBytes);
    region.src = region.copy.data();
    region.srcStride = static_cast<int>(rowBytes);
  }
  return hr;
}

}  // namespace zq::dib
