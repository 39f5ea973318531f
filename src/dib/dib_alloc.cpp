// Headers for new images, and allocation and release of image blocks.
#include <cstring>

#include "dib/dib_internal.h"
#include "dib/dib_layout.h"

namespace zq::dib {
namespace {

struct Shape {
  const TypeInfo* info;
  int64_t stride;
  int64_t imageBytes;
  int entries;  // colour-table entries after the header
  int copied;   // of which come from the caller's table
  bool masks;   // three masks after the header instead
};

HRESULT Measure(int type, int width, int height, const RGBQUAD* table, int count, Shape* shape) noexcept {
  shape->info = Type(type);
  if (!shape->info || width <= 0 || height <= 0) return E_INVALIDARG;
  shape->stride = Stride(width, shape->info->bitsPerPixel);
  if (shape->stride < 0 || shape->stride * height > kMaxImageBytes) return E_INVALIDARG;
  shape->imageBytes = shape->stride * height;
  shape->masks = shape->info->compression == BI_BITFIELDS;
  int bits = shape->info->bitsPerPixel;
  if (count < 0) count = 0;
  if (shape->masks) count = 0;
  int given = table ? count : 0;
  // A palette header that leaves its count 0 has its bits after a full
  // table, so a full table is always reserved for one.
  bool paletteHeader = shape->info->compression == BI_RGB && bits <= 8;
  if (!shape->masks && count == 0 && bits <= 8 && (!table || paletteHeader)) count = 1 << bits;
  int limit = bits <= 8 ? 1 << bits : 256;
  shape->entries = count > limit ? limit : count;
  shape->copied = given > shape->entries ? shape->entries : given;
  return S_OK;
}

// Writes the header, then the masks or the caller's colour entries. A block
// of our own (`ramp`) also gets a grey ramp from black to white for the
// entries the caller did not give; a caller's header gets no more than it
// gave.
void WriteHeader(BITMAPINFOHEADER* header, int type, int width, int height, const RGBQUAD* table,
                 const Shape& shape, bool ramp) noexcept {
  std::memset(header, 0, sizeof(*header));
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = width;
  header->biHeight = height;
  header->biPlanes = 1;
  header->biBitCount = static_cast<WORD>(shape.info->bitsPerPixel);
  header->biCompression = shape.info->compression;
  header->biSizeImage = static_cast<DWORD>(shape.imageBytes);
  header->biClrUsed = static_cast<DWORD>(shape.entries);
  auto after = reinterpret_cast<BYTE*>(header + 1);
  if (shape.masks) {
    DWORD masks[3];
    ZqPixelTypeToBitAttribs(type, nullptr, nullptr, 0, masks);
    std::memcpy(after, masks, sizeof(masks));
  } else {
    if (shape.copied) std::memcpy(after, table, static_cast<size_t>(shape.copied) * sizeof(RGBQUAD));
    auto entries = reinterpret_cast<RGBQUAD*>(after);
    for (int i = shape.copied; ramp && i < shape.entries; ++i) {
      BYTE v = static_cast<BYTE>(shape.entries > 1 ? i * 255 / (shape.entries - 1) : 0);
      entries[i] = RGBQUAD{v, v, v, 0};
    }
  }
}

}  // namespace

void FreeLockedBlock(void* block) noexcept {
  if (!block) return;
  HGLOBAL handle = GlobalHandle(block);
  if (!handle) return;
  GlobalUnlock(handle);
  GlobalFree(handle);
}

}  // namespace zq::dib

using namespace zq::dib;

ZQAPI HRESULT WINAPI ZqVideo_InitBitmapInfo(BITMAPINFOHEADER* header, int type, int width, int height,
                                            const RGBQUAD* table, int count, DWORD* imageSize) noexcept {
  if (!header) return E_INVALIDARG;
  Shape shape;
  HRESULT hr = Measure(type, width, height, table, count, &shape);
  if (FAILED(hr)) return hr;
  WriteHeader(header, type, width, height, table, shape, false);
  if (imageSize) *imageSize = static_cast<DWORD>(shape.imageBytes);
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqDibAlloc(BITMAPINFOHEADER** block, int type, int width, int height, const RGBQUAD* table,
                                int count, DWORD flags) noexcept {
  if (!block) return E_POINTER;
  *block = nullptr;
  Shape shape;
  HRESULT hr = Measure(type, width, height, table, count, &shape);
  if (FAILED(hr)) return hr;
  int64_t extra = shape.masks ? 12 : static_cast<int64_t>(shape.entries) * 4;
  int64_t total = static_cast<int64_t>(sizeof(BITMAPINFOHEADER)) + extra + shape.imageBytes;
  if (total > kMaxImageBytes) return E_OUTOFMEMORY;
  HGLOBAL handle =
      GlobalAlloc(GMEM_MOVEABLE | ((flags & ZQDIBALLOC_ZERO) ? GMEM_ZEROINIT : 0), static_cast<SIZE_T>(total));
  if (!handle) return E_OUTOFMEMORY;
  auto header = static_cast<BITMAPINFOHEADER*>(GlobalLock(handle));
  if (!header) {
    GlobalFree(handle);
    return E_OUTOFMEMORY;
  }
  WriteHeader(header, type, width, height, table, shape, true);
  *block = header;
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqDibFree(void* block, DWORD) noexcept {
  FreeLockedBlock(block);
  return S_OK;
}
