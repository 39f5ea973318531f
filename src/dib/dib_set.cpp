// Filling a rectangle of an image with one colour.
#include <climits>
#include <cstring>

#include "dib/dib_internal.h"
#include "dib/pixel_kernels.h"

namespace zq::dib {
namespace {

// A channel value held to 0..1 (NaN as 0), times `full`, truncated.
inline unsigned Level(float value, unsigned full) noexcept {
  if (!(value > 0.0f)) return 0;
  if (value >= 1.0f) return full;
  return static_cast<unsigned>(value * static_cast<float>(full));
}

// Repeats the `unit` bytes of one packed pixel over `count` pixels.
void FillRow(BYTE* row, const BYTE* unit, size_t unitBytes, int count) noexcept {
  size_t total = unitBytes * count;
  if (unitBytes == 4) {
    DWORD v;
    std::memcpy(&v, unit, 4);
    FillRow32()(row, v, count);
    return;
  }
  size_t done = unitBytes < total ? unitBytes : total;
  std::memcpy(row, unit, done);
  while (done < total) {
    size_t n = done < total - done ? done : total - done;
    std::memcpy(row + done, row, n);
    done += n;
  }
}

}  // namespace
}  // namespace zq::dib

using namespace zq::dib;

ZQAPI HRESULT WINAPI ZqDibSet(BITMAPINFOHEADER* header, void* bits, const RECT* rect, int stride, float red,
                              float green, float blue, float alpha, DWORD flags) noexcept {
  Image image;
  HRESULT hr = OpenImage(header, bits, stride, &image);
  if (FAILED(hr)) return hr;
  RECT r = image.Bounds();
  if (rect) {
    r = *rect;
    if (flags & ZQDIB_SUBPIXEL) r = RECT{r.left / 16384, r.top / 16384, r.right / 16384, r.bottom / 16384};
  }
  r = Intersect(r, image.Bounds());
  if (IsEmpty(r)) return S_OK;
  ScopedQuantizer quantizer;
  hr = quantizer.For(image);
  if (FAILED(hr)) return hr;
  ZQXCHGSET set;
  hr = PrepareExchange(image.type, image.type, flags & ~ZQDIB_SUBPIXEL, &set, nullptr);
  if (FAILED(hr)) return hr;
  AttachImages(set, image, image, quantizer.Cells());
  if (set.flags & ZQXCHG_WIDE) {
    ZQWIDEPIXEL p{static_cast<WORD>(Level(blue, 65535)), static_cast<WORD>(Level(green, 65535)),
                  static_cast<WORD>(Level(red, 65535)), static_cast<WORD>(Level(alpha, 65535))};
    for (ZQWIDEPIXEL& w : set.work.wide) w = p;
  } else {
    ZQRGBA p{static_cast<BYTE>(Level(blue, 255)), static_cast<BYTE>(Level(green, 255)),
             static_cast<BYTE>(Level(red, 255)), static_cast<BYTE>(Level(alpha, 255))};
    for (ZQRGBA& n : set.work.narrow) n = p;
  }
  int width = r.right - r.left;
  if (image.bpp % 8 == 0) {
    // Whole-byte pixels: pack once, then repeat the bytes.
    BYTE unit[16];
    set.dst = unit;
    set.dstBit = 0;
    set.write1(&set);
    size_t unitBytes = image.bpp / 8;
    if (width == image.width && static_cast<size_t>(image.stride) == unitBytes * width &&
        static_cast<long long>(width) * (r.bottom - r.top) <= INT_MAX) {
      // Whole rows without padding: one run.
      FillRow(image.Row(r.bottom - 1), unit, unitBytes, width * (r.bottom - r.top));
      return S_OK;
    }
    for (int y = r.bottom - 1; y >= r.top; --y)  // ascending addresses
      FillRow(image.Row(y) + static_cast<ptrdiff_t>(r.left) * unitBytes, unit, unitBytes, width);
    return S_OK;
  }
  for (int y = r.top; y < r.bottom; ++y) {
    SetDestination(set, image.Row(y), r.left, image.bpp);
    for (int i = width / 4; i > 0; --i) set.write4(&set);
    for (int i = width % 4; i > 0; --i) set.write1(&set);
  }
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqDibFillRect(BITMAPINFOHEADER* header, void* bits, const RECT* rect, int stride,
                                   const ZQRGBAFLOAT* colour, DWORD flags) noexcept {
  if (!colour) return E_POINTER;
  return ZqDibSet(header, bits, rect, stride, colour->red, colour->green, colour->blue, colour->alpha, flags);
}

ZQAPI HRESULT WINAPI ZqDibFillRectChannel(BITMAPINFOHEADER*, void*, const RECT*, int, int, float, DWORD) noexcept {
  return E_NOTIMPL;
}
