// The shape of an image block: pixel-type facts, row stride, where the
// bits start and where a row lives. Sizes are computed in 64 bits and
// refused past 2 GB, so no product can wrap into a short block.
#pragma once
#include <windows.h>

#include <cstdint>

#include "zq/dib.h"

namespace zq::dib {

constexpr int kTypeCount = ZQPIXEL_LAST - ZQPIXEL_FIRST + 1;
constexpr int64_t kMaxImageBytes = 0x7FFFFFFF;  // 2 GB - 1

// One row of the pixel-type table.
struct TypeInfo {
  int bitsPerPixel;
  DWORD compression;    // 0, BI_BITFIELDS or a FourCC
  BYTE channelBits[4];  // blue, green, red, alpha (single-channel: count in the fourth)
  int maskBits[3];      // red, green, blue widths of a bit-field type, else 0
};
// Null for values outside 16..32.
const TypeInfo* Type(int type) noexcept;
inline bool IsGray(int type) noexcept { return type >= ZqPixel_Mono1 && type <= ZqPixel_GrayFloat; }
inline bool IsPalette(int type) noexcept { return type == ZqPixel_Pal4 || type == ZqPixel_Pal8; }

// Row stride in bytes; -1 when width or bit count make it exceed 2 GB.
int64_t Stride(int64_t width, int bitsPerPixel) noexcept;

// Colour-table entries a header carries (biClrUsed, or a full table for a
// palette header that leaves it 0), never more than 2^bits for palette types.
int TableEntries(const BITMAPINFOHEADER* header) noexcept;
const RGBQUAD* ColourTable(const BITMAPINFOHEADER* header) noexcept;
// biSize of an information header: 40 up to the largest header version,
// with room for later ones (at most 64 KB).
inline bool PlausibleHeaderSize(const BITMAPINFOHEADER* header) noexcept {
  return header->biSize >= sizeof(BITMAPINFOHEADER) && header->biSize <= 0x10000;
}
// Where the pixel bits start when the caller passes none.
BYTE* DefaultBits(const BITMAPINFOHEADER* header) noexcept;

// A checked view of an image: type, size, stride and bits. Every pixel
// operation starts from one.
struct Image {
  int type = 0;
  int bpp = 0;
  int width = 0;
  int height = 0;
  int stride = 0;
  BYTE* bits = nullptr;
  const BITMAPINFOHEADER* header = nullptr;

  // Address of the stored row holding picture row y (0 = top).
  BYTE* Row(int y) const noexcept { return bits + static_cast<ptrdiff_t>(height - 1 - y) * stride; }
  RECT Bounds() const noexcept { return RECT{0, 0, width, height}; }
};
// S_OK, E_INVALIDARG for a null header or an impossible size (zero or
// negative dimensions, a stride below the computed one, more than 2 GB),
// E_NOTIMPL for an unsupported type.
HRESULT OpenImage(const BITMAPINFOHEADER* header, const void* bits, int stride, Image* image) noexcept;

// Rectangle helpers (right and bottom exclusive).
inline bool IsEmpty(const RECT& r) noexcept { return r.right <= r.left || r.bottom <= r.top; }
// Intersection; all zeros when the two do not overlap.
RECT Intersect(const RECT& a, const RECT& b) noexcept;
// A rectangle in 18.14 units divided down to whole pixels (toward zero).
inline RECT Divided(const RECT& r) noexcept {
  return RECT{r.left / 16384, r.top / 16384, r.right / 16384, r.bottom / 16384};
}

}  // namespace zq::dib
