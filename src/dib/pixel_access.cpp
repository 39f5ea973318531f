// Single-pixel access, vertical flip and red/blue exchange in place.
#include <cstring>
#include <utility>
#include <vector>

#include "dib/dib_internal.h"
#include "dib/pixel_kernels.h"

namespace zq::dib {

void AttachImages(ZQXCHGSET& set, const Image& dst, const Image& src, const BYTE* quantizer) noexcept {
  if (IsPalette(src.type)) {
    set.srcTable = ColourTable(src.header);
    set.srcTableCount = TableEntries(src.header);
  }
  set.quantizer = quantizer;
  (void)dst;
}

namespace {

// The rectangle asked for (default: the whole image), clipped to it.
RECT Clipped(const Image& image, const RECT* rect) noexcept {
  RECT bounds = image.Bounds();
  return Intersect(rect ? *rect : bounds, bounds);
}

// Exchanges the bits [first, last) of two rows; both ends are multiples
// of four bits.
void SwapBitRange(BYTE* a, BYTE* b, int64_t first, int64_t last, std::vector<BYTE>& scratch) noexcept {
  if (first % 8) {
    BYTE mask = 0x0F;  // the low nibble of the byte holds the second pixel
    BYTE* pa = a + first / 8;
    BYTE* pb = b + first / 8;
    BYTE va = *pa & mask, vb = *pb & mask;
    *pa = static_cast<BYTE>((*pa & ~mask) | vb);
    *pb = static_cast<BYTE>((*pb & ~mask) | va);
    first += 4;
  }
  if (first >= last) return;
  if (last % 8) {
    BYTE mask = 0xF0;
    BYTE* pa = a + last / 8;
    BYTE* pb = b + last / 8;
    BYTE va = *pa & mask, vb = *pb & mask;
    *pa = static_cast<BYTE>((*pa & ~mask) | vb);
    *pb = static_cast<BYTE>((*pb & ~mask) | va);
    last -= 4;
  }
  size_t bytes = static_cast<size_t>((last - first) / 8);
  if (!bytes) return;
  std::memcpy(scratch.data(), a + first / 8, bytes);
  std::memcpy(a + first / 8, b + first / 8, bytes);
  std::memcpy(b + first / 8, scratch.data(), bytes);
}

}  // namespace
}  // namespace zq::dib

using namespace zq::dib;

ZQAPI HRESULT WINAPI ZqDibGetPixel(const BITMAPINFOHEADER* header, const void* bits, int stride, int x, int y,
                                   ZQWIDEPIXEL* pixel) noexcept {
  if (!pixel) return E_POINTER;
  Image image;
  HRESULT hr = OpenImage(header, bits, stride, &image);
  if (FAILED(hr)) return hr;
  if (x < 0 || y < 0 || x >= image.width || y >= image.height) return E_NOTIMPL;
  ZQXCHGSET set{};
  set.flags = ZQXCHG_WIDE | ZQXCHG_EXACT;
  AttachImages(set, image, image, nullptr);
  int64_t bit = static_cast<int64_t>(x) * image.bpp;
  *pixel = ExpandPixel(image.type, image.Row(y) + bit / 8, static_cast<int>(bit % 8), set);
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqDibSetPixel(BITMAPINFOHEADER* header, void* bits, int stride, int x, int y,
                                   const ZQWIDEPIXEL* pixel) noexcept {
  if (!pixel) return E_POINTER;
  Image image;
  HRESULT hr = OpenImage(header, bits, stride, &image);
  if (FAILED(hr)) return hr;
  if (x < 0 || y < 0 || x >= image.width || y >= image.height) return E_INVALIDARG;
  ScopedQuantizer quantizer;
  hr = quantizer.For(image);
  if (FAILED(hr)) return hr;
  ZQXCHGSET set{};
  set.flags = ZQXCHG_WIDE | ZQXCHG_EXACT;
  set.quantizer = quantizer.Cells();
  int64_t bit = static_cast<int64_t>(x) * image.bpp;
  PackPixel(image.type, image.Row(y) + bit / 8, static_cast<int>(bit % 8), *pixel, set);
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqDibFlip(BITMAPINFOHEADER* header, void* bits, const RECT* rect, int stride, BOOL horizontal,
                               BOOL vertical) noexcept {
  Image image;
  HRESULT hr = OpenImage(header, bits, stride, &image);
  if (FAILED(hr)) return hr;
  if (image.type < ZqPixel_Pal4 || image.type == ZqPixel_Rgb30 || image.type == ZqPixel_RgbaFloat)
    return E_NOTIMPL;
  RECT r = Clipped(image, rect);
  if (IsEmpty(r) || !vertical) return S_OK;  // the horizontal flag has no effect
  int64_t first = static_cast<int64_t>(r.left) * image.bpp, last = static_cast<int64_t>(r.right) * image.bpp;
  try {
    std::vector<BYTE> scratch(static_cast<size_t>((last - first) / 8 + 1));
    for (int top = r.top, bottom = r.bottom - 1; top < bottom; ++top, --bottom)
      SwapBitRange(image.Row(top), image.Row(bottom), first, last, scratch);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqDibSwapRB(BITMAPINFOHEADER* header, void* bits, const RECT* rect, int stride) noexcept {
  Image image;
  HRESULT hr = OpenImage(header, bits, stride, &image);
  if (FAILED(hr)) return hr;
  if (image.type != ZqPixel_Rgb24 && image.type != ZqPixel_Rgb32 && image.type != ZqPixel_Rgba32) return E_NOTIMPL;
  RECT r = Clipped(image, rect);
  int step = image.bpp / 8;
  for (int y = r.top; y < r.bottom; ++y) {
    BYTE* p = image.Row(y) + static_cast<ptrdiff_t>(r.left) * step;
    for (int x = r.left; x < r.right; ++x, p += step) std::swap(p[0], p[2]);
  }
  return S_OK;
}
