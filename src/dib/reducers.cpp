// Raw-buffer resampling: the plain bicubic copy with the fine weight
// table, area-averaging reduction and block averaging (pixelation).
#include <algorithm>
#include <cstring>
#include <vector>

#include "dib/dib_internal.h"
#include "dib/scale_internal.h"

namespace zq::dib {
namespace {

struct Region {
  int width = 0, height = 0;
  BYTE* first = nullptr;
  int stride = 0;
  BYTE* Row(int y) const noexcept { return first + static_cast<ptrdiff_t>(stride) * y; }
};

HRESULT PrepareTwo(Region& dst, Region& src, BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                   const BYTE* srcBase, const RECT* srcBounds, int srcStride, const RECT* srcRect, int bytes) noexcept {
  dst.stride = dstStride;
  src.stride = srcStride;
  HRESULT hr = ZqDibPrepareSet(&dst.width, &dst.height, &dst.first, dstBase, dstBounds, dstStride, dstRect, bytes);
  if (FAILED(hr)) return hr;
  return ZqDibPrepareSet(&src.width, &src.height, &src.first, const_cast<BYTE*>(srcBase), srcBounds, srcStride, srcRect,
                         bytes);
}

// Source pixels under [low, high) (18.14, relative to the region) with the
// covered part of each.
struct Footprint {
  std::vector<int> start, index, weight;
};
Footprint Boxes(int64_t factor, int count, int size) {
  Footprint f;
  f.start.push_back(0);
  for (int k = 0; k < count; ++k) {
    int64_t low = k * factor, high = (k + 1) * factor;
    for (int64_t c = low >> 14; c < (high + kFixedOne - 1) >> 14 && c < size; ++c) {
      int64_t w = std::min(high, (c + 1) << 14) - std::max(low, c << 14);
      if (w <= 0) continue;
      f.index.push_back(static_cast<int>(c));
      f.weight.push_back(static_cast<int>(w));
    }
    f.start.push_back(static_cast<int>(f.index.size()));
  }
  return f;
}

// Source pixels a destination pixel covers, in 18.14: the floating-point
// quotient x 16384, truncated.
int64_t Factor(int source, int destination) {
  return static_cast<int64_t>(static_cast<double>(source) / destination * 16384.0);
}

}  // namespace
}  // namespace zq::dib

using namespace zq::dib;

ZQAPI HRESULT WINAPI ZqDibCopyBiCubic(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                      const BYTE* srcBase, const RECT* srcBounds, int srcStride, const RECT* srcRect,
                                      int bytesPerPixel) noexcept {
  int bytes = RawBytes(bytesPerPixel);
  Region dst, src;
  HRESULT hr =
      PrepareTwo(dst, src, dstBase, dstBounds, dstStride, dstRect, srcBase, srcBounds, srcStride, srcRect, bytes);
  if (FAILED(hr) || !dst.width || !src.width) return hr;
  try {
    const CubicTable& t = FineCubic();
    int64_t stepX = src.width * kFixedOne / dst.width, stepY = src.height * kFixedOne / dst.height;
    // Taps r - 2 .. r + 1 interpolate at r - 1 + t: the extra half pixel
    // puts destination pixel centres on source pixel centres, so an
    // unscaled copy is exact.
    auto taps = [&](int k, int64_t step, int size, int* index) {
      int64_t position = kFixedOne / 2 + k * step + kFixedOne / 2;
      int r = static_cast<int>(position >> 14);
      for (int i = 0; i < 4; ++i) index[i] = std::clamp(r - 2 + i, 0, size - 1);
      return static_cast<int>(position & (kFixedOne - 1));
    };
    std::vector<int> xi(dst.width * 4), xf(dst.width);
    for (int k = 0; k < dst.width; ++k) xf[k] = taps(k, stepX, src.width, &xi[k * 4]);
    for (int j = 0; j < dst.height; ++j) {
      int yi[4];
      int yf = taps(j, stepY, src.height, yi);
      BYTE* out = dst.Row(j);
      for (int k = 0; k < dst.width; ++k) {
        if (bytes == 4) {
          const int* wx = &t.fixed[xf[k] * 4];
          const int* wy = &t.fixed[yf * 4];
          for (int c = 0; c < 4; ++c) {
            int horizontal = 0;
            for (int i = 0; i < 4; ++i) {
              int v = 0;
              for (int r = 0; r < 4; ++r) v += wy[r] * src.Row(yi[r])[4 * xi[k * 4 + i] + c];
              horizontal += wx[i] * std::clamp((v + 128) >> 8, 0, 255 * 64);  // value x 64
            }
            int v = (horizontal + (1 << 19)) >> 20;
            out[4 * k + c] = static_cast<BYTE>(v < 0 ? 0 : v > 255 ? 255 : v);
          }
        } else {
          const float* wx = &t.weights[xf[k] * 4];
          const float* wy = &t.weights[yf * 4];
          for (int c = 0; c < 4; ++c) {
            float vertical = 0;  // the sum of the horizontal pass over vertically filtered columns
            for (int i = 0; i < 4; ++i) {
              float v = 0;
              for (int r = 0; r < 4; ++r)
                v += wy[r] * reinterpret_cast<const float*>(src.Row(yi[r]))[4 * xi[k * 4 + i] + c];
              vertical += wx[i] * v;
            }
            reinterpret_cast<float*>(out)[4 * k + c] = vertical;
          }
        }
      }
    }
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqDownSample(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                  const BYTE* srcBase, const RECT* srcBounds, int srcStride, const RECT* srcRect,
                                  int bytesPerPixel) noexcept {
  int bytes = RawBytes(bytesPerPixel);
  Region dst, src;
  HRESULT hr =
      PrepareTwo(dst, src, dstBase, dstBounds, dstStride, dstRect, srcBase, srcBounds, srcStride, srcRect, bytes);
  if (FAILED(hr) || !dst.width || !src.width || src.width < dst.width || src.height < dst.height) return hr;
  const int64_t fx = Factor(src.width, dst.width), fy = Factor(src.height, dst.height);
  // Sums of weight (28 bits) x value stay within 64 bits for boxes of up
  // to 2^27 pixels.
  if (((fx >> 14) + 2) * ((fy >> 14) + 2) > (int64_t(1) << 27)) return E_INVALIDARG;
  try {
    Footprint bx = Boxes(fx, dst.width, src.width), by = Boxes(fy, dst.height, src.height);
    int64_t area = fx * fy;
    double inverse = 1.0 / ((fx / 16384.0) * (fy / 16384.0));
    for (int j = 0; j < dst.height; ++j)
      for (int k = 0; k < dst.width; ++k) {
        if (bytes == 4) {
          int64_t sum[4] = {0, 0, 0, 0};
          for (int ty = by.start[j]; ty < by.start[j + 1]; ++ty) {
            const BYTE* row = src.Row(by.index[ty]);
            for (int tx = bx.start[k]; tx < bx.start[k + 1]; ++tx) {
              int64_t w = static_cast<int64_t>(bx.weight[tx]) * by.weight[ty];
              for (int c = 0; c < 4; ++c) sum[c] += w * row[4 * bx.index[tx] + c];
            }
          }
          for (int c = 0; c < 4; ++c) dst.Row(j)[4 * k + c] = static_cast<BYTE>(std::min<int64_t>(sum[c] / area, 255));
        } else {
          double sum[4] = {0, 0, 0, 0};
          for (int ty = by.start[j]; ty < by.start[j + 1]; ++ty) {
            const float* row = reinterpret_cast<const float*>(src.Row(by.index[ty]));
            for (int tx = bx.start[k]; tx < bx.start[k + 1]; ++tx) {
              double w = bx.weight[tx] / 16384.0 * (by.weight[ty] / 16384.0);
              for (int c = 0; c < 4; ++c) sum[c] += w * row[4 * bx.index[tx] + c];
            }
          }
          for (int c = 0; c < 4; ++c)
            reinterpret_cast<float*>(dst.Row(j))[4 * k + c] = static_cast<float>(sum[c] * inverse);
        }
      }
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqPixelate(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                const BYTE* srcBase, const RECT* srcBounds, int srcStride, const RECT* srcRect,
                                int bytesPerPixel) noexcept {
  int bytes = RawBytes(bytesPerPixel);
  Region dst, src;
  HRESULT hr =
      PrepareTwo(dst, src, dstBase, dstBounds, dstStride, dstRect, srcBase, srcBounds, srcStride, srcRect, bytes);
  if (FAILED(hr) || !dst.width || !src.width || src.width < dst.width || src.height < dst.height) return hr;
  const int64_t fx = Factor(src.width, dst.width), fy = Factor(src.height, dst.height);
  int bw = static_cast<int>(fx >> 14), bh = static_cast<int>(fy >> 14);
  if (bw <= 0 || bh <= 0) return S_OK;
  int64_t count = static_cast<int64_t>(bw) * bh;
  for (int j = 0; j < dst.height; ++j) {
    int y0 = static_cast<int>(j * fy >> 14);
    for (int k = 0; k < dst.width; ++k) {
      int x0 = static_cast<int>(k * fx >> 14);
      if (bytes == 4) {
        int64_t sum[4] = {0, 0, 0, 0};
        for (int y = y0; y < y0 + bh; ++y)
          for (int x = x0; x < x0 + bw; ++x)
            for (int c = 0; c < 4; ++c) sum[c] += src.Row(y)[4 * x + c];
        for (int c = 0; c < 4; ++c) dst.Row(j)[4 * k + c] = static_cast<BYTE>(sum[c] / count);
      } else {
        double sum[4] = {0, 0, 0, 0};
        for (int y = y0; y < y0 + bh; ++y)
          for (int x = x0; x < x0 + bw; ++x)
            for (int c = 0; c < 4; ++c) sum[c] += reinterpret_cast<const float*>(src.Row(y))[4 * x + c];
        for (int c = 0; c < 4; ++c)
          reinterpret_cast<float*>(dst.Row(j))[4 * k + c] = static_cast<float>(sum[c] * (1.0 / count));
      }
    }
  }
  return S_OK;
}
