// Header-less buffers of 4-byte (8-bit blue, green, red, alpha) or
// 16-byte (float) pixels: unscaled copy, fill and per-channel operations.
#include <cmath>
#include <cstring>

#include "dib/dib_internal.h"

namespace zq::dib {
namespace {

// 4-byte channels: value x 255, truncated and held to 0..255 (NaN as 0).
inline BYTE ByteLevel(double value) noexcept {
  double x = value * 255.0;
  if (!(x > 0.0)) return 0;
  if (x >= 255.0) return 255;
  return static_cast<BYTE>(x);
}

struct Region {
  int width = 0, height = 0;
  BYTE* first = nullptr;
};
struct RegionPair {
  int width = 0, height = 0;
  BYTE* dst = nullptr;
  BYTE* src = nullptr;
};

// Visits every pixel of a one-buffer region, row by row.
template <typename Visit>
void ForEach(const Region& r, int stride, int bytes, Visit&& visit) {
  for (int y = 0; y < r.height; ++y) {
    BYTE* p = r.first + static_cast<ptrdiff_t>(stride) * y;
    for (int x = 0; x < r.width; ++x, p += bytes) visit(p);
  }
}
template <typename Visit>
void ForEachPair(const RegionPair& r, int dstStride, int srcStride, int bytes, Visit&& visit) {
  for (int y = 0; y < r.height; ++y) {
    BYTE* d = r.dst + static_cast<ptrdiff_t>(dstStride) * y;
    const BYTE* s = r.src + static_cast<ptrdiff_t>(srcStride) * y;
    for (int x = 0; x < r.width; ++x, d += bytes, s += bytes) visit(d, s);
  }
}

}  // namespace
}  // namespace zq::dib

using namespace zq::dib;

ZQAPI HRESULT WINAPI ZqDibCopyUnscaled(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                       const BYTE* srcBase, const RECT* srcBounds, int srcStride,
                                       const RECT* srcRect, int bytesPerPixel) noexcept {
  int bytes = RawBytes(bytesPerPixel);
  RegionPair r;
  HRESULT hr = ZqDibPrepareCopy(&r.width, &r.height, &r.src, &r.dst, dstBase, dstBounds, dstStride, dstRect,
                                srcBase, srcBounds, srcStride, srcRect, bytes);
  if (FAILED(hr)) return hr;
  // Rows go in the order that never reads a row already overwritten when
  // the two regions share a buffer.
  bool upward = r.dst > r.src;
  for (int i = 0; i < r.height; ++i) {
    int y = upward ? r.height - 1 - i : i;
    std::memmove(r.dst + static_cast<ptrdiff_t>(dstStride) * y, r.src + static_cast<ptrdiff_t>(srcStride) * y,
                 static_cast<size_t>(r.width) * bytes);
  }
  return hr;
}

ZQAPI HRESULT WINAPI ZqDibSetUnscaled(BYTE* base, const RECT* bounds, int stride, const RECT* rect,
                                      int bytesPerPixel, double red, double green, double blue,
                                      double alpha) noexcept {
  int bytes = RawBytes(bytesPerPixel);
  Region r;
  HRESULT hr = ZqDibPrepareSet(&r.width, &r.height, &r.first, base, bounds, stride, rect, bytes);
  if (FAILED(hr)) return hr;
  BYTE unit[16];
  if (bytes == 4) {
    BYTE p[4] = {ByteLevel(blue), ByteLevel(green), ByteLevel(red), ByteLevel(alpha)};
    std::memcpy(unit, p, 4);
  } else {
    float p[4] = {static_cast<float>(blue), static_cast<float>(green), static_cast<float>(red),
                  static_cast<float>(alpha)};
    std::memcpy(unit, p, 16);
  }
  ForEach(r, stride, bytes, [&](BYTE* p) { std::memcpy(p, unit, bytes); });
  return hr;
}

ZQAPI HRESULT WINAPI ZqDibChannelSet(BYTE* base, const RECT* bounds, int stride, const RECT* rect,
                                     int bytesPerPixel, int channel, double value) noexcept {
  int bytes = RawBytes(bytesPerPixel), offset = ChannelOffset(channel, bytes);
  Region r;
  HRESULT hr = ZqDibPrepareSet(&r.width, &r.height, &r.first, base, bounds, stride, rect, bytes);
  if (FAILED(hr)) return hr;
  if (bytes == 4) {
    BYTE v = ByteLevel(value);
    ForEach(r, stride, bytes, [&](BYTE* p) { p[offset] = v; });
  } else {
    float v = static_cast<float>(value);
    ForEach(r, stride, bytes, [&](BYTE* p) { std::memcpy(p + offset, &v, 4); });
  }
  return hr;
}

ZQAPI HRESULT WINAPI ZqDibChannelCopyUnscaled(BYTE* dstBase, const RECT* dstBounds, int dstStride,
                                              const RECT* dstRect, int dstChannel, const BYTE* srcBase,
                                              const RECT* srcBounds, int srcStride, const RECT* srcRect,
                                              int srcChannel, int bytesPerPixel) noexcept {
  int bytes = RawBytes(bytesPerPixel);
  int dOffset = ChannelOffset(dstChannel, bytes), sOffset = ChannelOffset(srcChannel, bytes);
  size_t unit = bytes == 4 ? 1 : 4;
  RegionPair r;
  HRESULT hr = ZqDibPrepareCopy(&r.width, &r.height, &r.src, &r.dst, dstBase, dstBounds, dstStride, dstRect,
                                srcBase, srcBounds, srcStride, srcRect, bytes);
  if (FAILED(hr)) return hr;
  ForEachPair(r, dstStride, srcStride, bytes,
              [&](BYTE* d, const BYTE* s) { std::memmove(d + dOffset, s + sOffset, unit); });
  return hr;
}

ZQAPI HRESULT WINAPI ZqDibChannelInPlaceOp(BYTE* base, const RECT* bounds, int stride, const RECT* rect,
                                           int bytesPerPixel, int channel, ZQCHANNELPROC function,
                                           DWORD_PTR user) noexcept {
  if (!function) return E_POINTER;
  int bytes = RawBytes(bytesPerPixel), offset = ChannelOffset(channel, bytes);
  Region r;
  HRESULT hr = ZqDibPrepareSet(&r.width, &r.height, &r.first, base, bounds, stride, rect, bytes);
  if (FAILED(hr)) return hr;
  ForEach(r, stride, bytes, [&](BYTE* p) { function(p + offset, user); });
  return hr;
}

ZQAPI HRESULT WINAPI ZqDibChannelOp(BYTE* dstBase, const RECT* dstBounds, int dstStride, const RECT* dstRect,
                                    int dstChannel, const BYTE* srcBase, const RECT* srcBounds, int srcStride,
                                    const RECT* srcRect, int srcChannel, int bytesPerPixel,
                                    ZQCHANNELPAIRPROC function, DWORD_PTR user) noexcept {
  if (!function) return E_POINTER;
  int bytes = RawBytes(bytesPerPixel);
  int dOffset = ChannelOffset(dstChannel, bytes), sOffset = ChannelOffset(srcChannel, bytes);
  RegionPair r;
  HRESULT hr = ZqDibPrepareCopy(&r.width, &r.height, &r.src, &r.dst, dstBase, dstBounds, dstStride, dstRect,
                                srcBase, srcBounds, srcStride, srcRect, bytes);
  if (FAILED(hr)) return hr;
  ForEachPair(r, dstStride, srcStride, bytes,
              [&](BYTE* d, const BYTE* s) { function(d + dOffset, s + sOffset, user); });
  return hr;
}
