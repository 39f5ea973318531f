// Pixel-type table and block layout rules.
#include "dib/dib_layout.h"

namespace zq::dib {
namespace {

// Rows in type order 16..32.
constexpr TypeInfo kTypes[kTypeCount] = {
    {1, BI_RGB, {0, 0, 0, 1}, {0, 0, 0}},                   // Mono1
    {1, ZQDIB_FOURCC_GRAY, {0, 0, 0, 1}, {0, 0, 0}},        // Gray1
    {2, ZQDIB_FOURCC_GRAY, {0, 0, 0, 2}, {0, 0, 0}},        // Gray2
    {4, ZQDIB_FOURCC_GRAY, {0, 0, 0, 4}, {0, 0, 0}},        // Gray4
    {8, ZQDIB_FOURCC_GRAY, {0, 0, 0, 8}, {0, 0, 0}},        // Gray8
    {16, ZQDIB_FOURCC_GRAY, {0, 0, 0, 16}, {0, 0, 0}},      // Gray16
    {32, ZQDIB_FOURCC_GRAY, {0, 0, 0, 32}, {0, 0, 0}},      // GrayFloat
    {4, BI_RGB, {8, 8, 8, 0}, {0, 0, 0}},                   // Pal4
    {8, BI_RGB, {8, 8, 8, 0}, {0, 0, 0}},                   // Pal8
    {16, BI_RGB, {5, 5, 5, 1}, {0, 0, 0}},                  // Rgb555
    {16, BI_BITFIELDS, {5, 6, 5, 0}, {5, 6, 5}},            // Rgb565
    {24, BI_RGB, {8, 8, 8, 0}, {0, 0, 0}},                  // Rgb24
    {32, BI_RGB, {8, 8, 8, 8}, {0, 0, 0}},                  // Rgb32
    {32, ZQDIB_FOURCC_RGBA, {8, 8, 8, 8}, {0, 0, 0}},       // Rgba32
    {32, BI_BITFIELDS, {10, 10, 10, 2}, {10, 10, 10}},      // Rgb30
    {64, ZQDIB_FOURCC_RGBA, {16, 16, 16, 16}, {0, 0, 0}},   // Rgba64
    {128, ZQDIB_FOURCC_RGBA, {32, 32, 32, 32}, {0, 0, 0}},  // RgbaFloat
};

}  // namespace

const TypeInfo* Type(int type) noexcept {
  if (type < ZQPIXEL_FIRST || type > ZQPIXEL_LAST) return nullptr;
  return &kTypes[type - ZQPIXEL_FIRST];
}

int64_t Stride(int64_t width, int bitsPerPixel) noexcept {
  if (width <= 0 || bitsPerPixel <= 0) return -1;
  int64_t stride = (width * bitsPerPixel + 31) / 32 * 4;
  return stride > kMaxImageBytes ? -1 : stride;
}

int TableEntries(const BITMAPINFOHEADER* header) noexcept {
  if (!header || header->biCompression == BI_BITFIELDS) return 0;
  int bits = header->biBitCount;
  int64_t entries = header->biClrUsed;
  if (header->biCompression == BI_RGB && bits >= 1 && bits <= 8) {
    if (entries == 0 || entries > (1 << bits)) entries = 1 << bits;
  }
  return entries > 65536 ? 65536 : static_cast<int>(entries);
}

const RGBQUAD* ColourTable(const BITMAPINFOHEADER* header) noexcept {
  return reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(header) + header->biSize);
}

BYTE* DefaultBits(const BITMAPINFOHEADER* header) noexcept {
  auto start = reinterpret_cast<BYTE*>(const_cast<BITMAPINFOHEADER*>(header));
  if (header->biCompression == BI_BITFIELDS) return start + 52;
  if (header->biCompression == BI_RGB && header->biClrUsed == 0 && header->biBitCount >= 1 && header->biBitCount <= 8)
    return start + header->biSize + 4 * (1u << header->biBitCount);
  return start + header->biSize + 4 * static_cast<size_t>(header->biClrUsed);
}

HRESULT OpenImage(const BITMAPINFOHEADER* header, const void* bits, int stride, Image* image) noexcept {
  if (!header || !image) return E_INVALIDARG;
  // The colour table and the default bits are placed by biSize: a size no
  // information header has would put them inside the header or anywhere.
  if (!PlausibleHeaderSize(header)) return E_INVALIDARG;
  int type = ZqGetPixelType(header);
  if (type == 0) return E_NOTIMPL;
  const TypeInfo* info = Type(type);
  int64_t computed = Stride(header->biWidth, info->bitsPerPixel);
  if (computed < 0 || header->biHeight <= 0) return E_INVALIDARG;
  if (stride == 0) stride = static_cast<int>(computed);
  if (stride < computed) return E_INVALIDARG;
  // Without bits of the caller's, the colour-table count places them: a
  // count no header can mean would place them anywhere.
  if (!bits && header->biClrUsed > 65536) return E_INVALIDARG;
  // Nor can a palette image have more entries than its indices reach.
  if (!bits && header->biCompression == BI_RGB && info->bitsPerPixel <= 8 &&
      header->biClrUsed > (1u << info->bitsPerPixel))
    return E_INVALIDARG;
  if (static_cast<int64_t>(stride) * header->biHeight > kMaxImageBytes) return E_INVALIDARG;
  image->type = type;
  image->bpp = info->bitsPerPixel;
  image->width = header->biWidth;
  image->height = header->biHeight;
  image->stride = stride;
  image->bits = bits ? static_cast<BYTE*>(const_cast<void*>(bits)) : DefaultBits(header);
  image->header = header;
  return S_OK;
}

RECT Intersect(const RECT& a, const RECT& b) noexcept {
  RECT r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top, a.right < b.right ? a.right : b.right,
         a.bottom < b.bottom ? a.bottom : b.bottom};
  if (r.right <= r.left || r.bottom <= r.top) return RECT{0, 0, 0, 0};
  return r;
}

}  // namespace zq::dib
