// 3 x 3 neighbourhood filters on raw buffers: the binomial blur and the
// general convolution. Outside the region the edge row or column stands
// in for the missing neighbour.
#include <climits>

#include "dib/filter_region.h"
#include "dib/neighbourhood_kernels.h"
#include "zq/dib.h"
#include "zq/dibfilter.h"

namespace {
using zq::dib::FilterRegion;

// Calls `pixel(out, n)` for every pixel, n[0..8] the addresses of its
// neighbours in row order (row before, row, row after; left, centre,
// right).
template <typename Pixel>
void ForEachNeighbourhood(const FilterRegion& r, Pixel pixel) {
  const int b = r.bytes;
  for (int y = 0; y < r.height; ++y) {
    const BYTE* rows[3] = {r.SourceRow(y - 1), r.SourceRow(y), r.SourceRow(y + 1)};
    BYTE* out = r.DestinationRow(y);
    for (int x = 0; x < r.width; ++x) {
      const int left = (x > 0 ? x - 1 : 0) * b, centre = x * b, right = (x + 1 < r.width ? x + 1 : x) * b;
      const BYTE* n[9];
      for (int k = 0; k < 3; ++k) {
        n[3 * k] = rows[k] + left;
        n[3 * k + 1] = rows[k] + centre;
        n[3 * k + 2] = rows[k] + right;
      }
      pixel(out + centre, n);
    }
  }
}

constexpr int kBinomial[9] = {1, 2, 1, 2, 4, 2, 1, 2, 1};

// Every output row through a row kernel.
template <typename Row, typename... Extra>
void EachRow(const FilterRegion& r, Row row, Extra... extra) {
  for (int y = 0; y < r.height; ++y)
    row(r.DestinationRow(y), r.SourceRow(y - 1), r.SourceRow(y), r.SourceRow(y + 1), r.width, extra...);
}

}  // namespace

ZQAPI HRESULT WINAPI ZqDibBlur(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                               const BYTE* srcBase, const RECT* srcBounds, int srcStride, const RECT* srcRect,
                               int bytesPerPixel) noexcept {
  FilterRegion r;
  HRESULT hr = zq::dib::PrepareFilterRegion(r, dstBase, dstBounds, dstStride, dstRect, srcBase, srcBounds,
                                            srcStride, srcRect, bytesPerPixel);
  if (FAILED(hr) || r.width == 0) return hr;
  if (r.bytes == 4) {
    EachRow(r, zq::dib::PickFilterForm(zq::dib::BlurRowForms()));
  } else {
    ForEachNeighbourhood(r, [](BYTE* out, const BYTE* const* n) {
      for (int c = 0; c < 4; ++c) {
        float sum = 0.0f;
        for (int k = 0; k < 9; ++k) sum += kBinomial[k] * reinterpret_cast<const float*>(n[k])[c];
        reinterpret_cast<float*>(out)[c] = sum * 0.0625f;
      }
    });
  }
  return hr;
}

// Sums in 32 bits where the weights keep them there, else in 64: nine
// 32-bit weights times 255 do not fit 32. The quotient truncates toward
// zero, then 8-bit channels are held to 0..255.
ZQAPI HRESULT WINAPI ZqDib3x3Convolution(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                         const BYTE* srcBase, const RECT* srcBounds, int srcStride,
                                         const RECT* srcRect, int bytesPerPixel, const LONG* kernel,
                                         LONG divisor) noexcept {
  if (!kernel || divisor == 0) return E_INVALIDARG;
  FilterRegion r;
  HRESULT hr = zq::dib::PrepareFilterRegion(r, dstBase, dstBounds, dstStride, dstRect, srcBase, srcBounds,
                                            srcStride, srcRect, bytesPerPixel);
  if (FAILED(hr) || r.width == 0) return hr;
  if (r.bytes == 4) {
    int weights[9];
    long long reach = 0;  // the largest magnitude a sum can take
    for (int k = 0; k < 9; ++k) {
      weights[k] = kernel[k];
      reach += 255LL * (kernel[k] < 0 ? -static_cast<long long>(kernel[k]) : kernel[k]);
    }
    if (reach <= INT_MAX && divisor != INT_MIN)
      EachRow(r, zq::dib::PickFilterForm(zq::dib::ConvolveRowForms(weights)), weights, static_cast<int>(divisor));
    else
      ForEachNeighbourhood(r, [&](BYTE* out, const BYTE* const* n) {
        for (int c = 0; c < 4; ++c) {
          long long sum = 0;
          for (int k = 0; k < 9; ++k) sum += static_cast<long long>(weights[k]) * n[k][c];
          const long long v = sum / divisor;
          out[c] = static_cast<BYTE>(v < 0 ? 0 : v > 255 ? 255 : v);
        }
      });
  } else {
    float weights[9];
    for (int k = 0; k < 9; ++k) weights[k] = static_cast<float>(kernel[k]) / static_cast<float>(divisor);
    ForEachNeighbourhood(r, [&](BYTE* out, const BYTE* const* n) {
      for (int c = 0; c < 4; ++c) {
        float sum = 0.0f;
        for (int k = 0; k < 9; ++k) sum += weights[k] * reinterpret_cast<const float*>(n[k])[c];
        reinterpret_cast<float*>(out)[c] = sum;
      }
    });
  }
  return hr;
}
