// Floyd-Steinberg reduction to black and white, and the vertical
// interlace filter: the two row-by-row filters on raw buffers.
#include <cstring>
#include <vector>

#include "dib/dib_internal.h"
#include "dib/filter_region.h"
#include "zq/dib.h"
#include "zq/dibfilter.h"

namespace {

inline LONG Grey(const BYTE* p) { return (p[0] + p[1] + p[2]) / 3; }

}  // namespace

// Errors go right (7/16) and to the next row (3/16 left, 5/16 below, the
// rest below right), with truncating divisions. Only columns 1 .. width-2
// of rows 0 .. height-2 are written.
ZQAPI HRESULT WINAPI ZqDibBiLevelDither(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                        const BYTE* srcBase, const RECT* srcBounds, int srcStride,
                                        const RECT* srcRect, int bytesPerPixel) noexcept {
  zq::dib::FilterRegion r;
  HRESULT hr = zq::dib::PrepareFilterRegion(r, dstBase, dstBounds, dstStride, dstRect, srcBase, srcBounds,
                                            srcStride, srcRect, bytesPerPixel);
  if (FAILED(hr) || r.width == 0 || r.bytes != 4) return hr;
  std::vector<LONG> current, next;
  try {
    current.resize(r.width);
    next.resize(r.width);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  for (int x = 0; x < r.width; ++x) current[x] = Grey(r.SourceRow(0) + 4 * x);
  for (int y = 0; y + 1 < r.height; ++y) {
    const BYTE* below = r.SourceRow(y + 1);
    for (int x = 0; x < r.width; ++x) next[x] = Grey(below + 4 * x);
    BYTE* out = r.DestinationRow(y);
    for (int x = 1; x + 1 < r.width; ++x) {
      const LONG n = current[x];
      LONG error;
      if (n > 126) {
        memset(out + 4 * x, 0xFF, 4);
        error = n - 255;
      } else {
        memset(out + 4 * x, 0, 4);
        error = n;
      }
      const LONG right = error * 7 / 16, left = error * 3 / 16, down = error * 5 / 16;
      current[x + 1] += right;
      next[x - 1] += left;
      next[x] += down;
      next[x + 1] += error - right - left - down;
    }
    current.swap(next);
  }
  return hr;
}

// Filtered rows wait in rotating buffers until the rows after them no
// longer read their unfiltered form.
ZQAPI HRESULT WINAPI ZqDibInterlaceFilter(BYTE* base, int width, int height, int stride, const RECT* rect,
                                          DWORD, int bytesPerPixel) noexcept {
  if (bytesPerPixel != 4) return E_NOTIMPL;
  const RECT bounds{0, 0, width, height};
  int w = 0, h = 0;
  BYTE* first = nullptr;
  HRESULT hr = ZqDibPrepareSet(&w, &h, &first, base, &bounds, stride, rect, 4);
  if (FAILED(hr) || w <= 0 || h <= 0) return hr;
  const size_t rowBytes = static_cast<size_t>(w) * 4;
  std::vector<BYTE> buffers;
  try {
    buffers.resize(rowBytes * 3);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  auto row = [&](int y) { return first + static_cast<ptrdiff_t>(stride) * (y < 0 ? 0 : y >= h ? h - 1 : y); };
  auto slot = [&](int y) { return buffers.data() + rowBytes * (y % 3); };
  // Row y is filtered into its buffer while rows y - 1 and y + 1 are still
  // unfiltered in place; row y - 1 goes back once row y no longer needs it.
  for (int y = 0; y < h; ++y) {
    const BYTE *above = row(y - 1), *here = row(y), *below = row(y + 1);
    BYTE* out = slot(y);
    for (size_t i = 0; i < rowBytes; ++i) out[i] = static_cast<BYTE>((above[i] + 2 * here[i] + below[i]) >> 2);
    if (y >= 1) memcpy(row(y - 1), slot(y - 1), rowBytes);
  }
  memcpy(row(h - 1), slot(h - 1), rowBytes);
  return hr;
}
