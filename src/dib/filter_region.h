// The source and destination regions of a raw-buffer filter: prepared as
// for an unscaled copy, with the source taken aside when the two regions
// share memory, so that no filter reads a pixel it has already written.
#pragma once
#include <windows.h>

#include <vector>

namespace zq::dib {

struct FilterRegion {
  int width = 0, height = 0;
  BYTE* dst = nullptr;
  int dstStride = 0;
  const BYTE* src = nullptr;
  int srcStride = 0;
  int bytes = 4;  // 4 (8-bit channels) or 16 (float channels)
  std::vector<BYTE> copy;  // the source region, when it overlapped

  // Row y of the source region, clamped to the region (edge rows repeat).
  const BYTE* SourceRow(int y) const noexcept {
    y = y < 0 ? 0 : y >= height ? height - 1 : y;
    return src + static_cast<ptrdiff_t>(srcStride) * y;
  }
  BYTE* DestinationRow(int y) const noexcept { return dst + static_cast<ptrdiff_t>(dstStride) * y; }
};

// ZqDibPrepareCopy's result (S_OK with an empty region when nothing
// overlaps); E_OUTOFMEMORY when the aside copy cannot be made.
HRESULT PrepareFilterRegion(FilterRegion& region, BYTE* dstBase, const RECT* dstBounds, int dstStride,
                            const RECT* dstRect, const BYTE* srcBase, const RECT* srcBounds, int srcStride,
                            const RECT* srcRect, int bytesPerPixel) noexcept;

}  // namespace zq::dib
