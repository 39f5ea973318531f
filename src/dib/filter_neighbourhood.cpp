// 3 x 3 neighbourhood filters on raw buffers: the binomial blur and the
// general convolution. Outside the region the edge row or column stands
// in for the missing neighbour.
#include <climits>

#include "dib/filter_region.h"
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

// The 8-bit form: per channel the weighted sum of the nine neighbours in
// `Sum` (32 bits when the weights allow it), then `finish(sum)`.
template <typename Sum, typename Finish>
void Convolve8(const FilterRegion& r, const int* w, Finish finish) {
  for (int y = 0; y < r.height; ++y) {
    const BYTE *a = r.SourceRow(y - 1), *b = r.SourceRow(y), *c = r.SourceRow(y + 1);
    BYTE* out = r.DestinationRow(y);
    for (int x = 0; x < r.width; ++x) {
      const int left = (x > 0 ? x - 1 : 0) * 4, centre = x * 4, right = (x + 1 < r.width ? x + 1 : x) * 4;
      for (int k = 0; k < 4; ++k) {
        const Sum sum = Sum(w[0]) * a[left + k] + Sum(w[1]) * a[centre + k] + Sum(w[2]) * a[right + k] +
                        Sum(w[3]) * b[left + k] + Sum(w[4]) * b[centre + k] + Sum(w[5]) * b[right + k] +
                        Sum(w[6]) * c[left + k] + Sum(w[7]) * c[centre + k] + Sum(w[8]) * c[right + k];
        out[centre + k] = finish(sum);
      }
    }
  }
}

template <typename Sum>
BYTE Clamp255(Sum v) {
  return static_cast<BYTE>(v < 0 ? 0 : v > 255 ? 255 : v);
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
    Convolve8<int>(r, kBinomial, [](int sum) { return static_cast<BYTE>(sum >> 4); });
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

// Sums in 64 bits: nine 32-bit weights times 255 do not fit 32. The
// quotient truncates toward zero, then 8-bit channels are held to 0..255.
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
    if (reach <= INT_MAX && divisor == 1) {
      Convolve8<int>(r, weights, [](int sum) { return Clamp255(sum); });
    } else if (reach <= INT_MAX && divisor != INT_MIN) {
      Convolve8<int>(r, weights, [divisor](int sum) { return Clamp255(sum / static_cast<int>(divisor)); });
    } else {
      Convolve8<long long>(r, weights, [divisor](long long sum) { return Clamp255(sum / divisor); });
    }
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
