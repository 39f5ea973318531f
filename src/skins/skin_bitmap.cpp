// Skin bitmap records: from resources, from files (mapped BMP or PNG),
// copies, and release by what the record owns.
#include <cstdint>
#include <cstring>

#include "zq/dib.h"
#include "zq/lang.h"
#include "zq/png.h"
#include "zq/skin.h"

namespace zq::skins {
namespace {

constexpr DWORD kOwnership = ZQSKIN_RESOURCE | ZQSKIN_GLOBAL_COPY | ZQSKIN_DECODED;

// Bytes of a packed bitmap's header, masks and colour table; -1 when the
// header does not describe one.
int64_t PrefixBytes(const BITMAPINFOHEADER* h) noexcept {
  int64_t bytes = 40;
  if (h->biCompression == BI_BITFIELDS) return bytes + 12;
  int64_t entries = h->biClrUsed;
  if (entries == 0 && h->biBitCount >= 1 && h->biBitCount <= 8) entries = int64_t{1} << h->biBitCount;
  if (entries > 256) return -1;
  return bytes + 4 * entries;
}
int64_t RowsBytes(const BITMAPINFOHEADER* h) noexcept {
  return (static_cast<int64_t>(h->biWidth) * h->biBitCount + 31) / 32 * 4 * h->biHeight;
}

// A packed copy (40-byte header, masks or table, rows) of a bitmap whose
// rows are at `bits`, in movable global memory, locked.
BITMAPINFOHEADER* GlobalCopy(const BITMAPINFOHEADER* header, const BYTE* table, const BYTE* bits) noexcept {
  int64_t prefix = PrefixBytes(header), rows = RowsBytes(header);
  if (prefix < 0 || rows <= 0 || prefix + rows > 0x7FFFFFFF) return nullptr;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(prefix + rows));
  if (!block) return nullptr;
  auto out = static_cast<BYTE*>(GlobalLock(block));
  if (!out) {
    GlobalFree(block);
    return nullptr;
  }
  BITMAPINFOHEADER h = *header;
  h.biSize = 40;
  std::memcpy(out, &h, 40);
  std::memcpy(out + 40, table, static_cast<size_t>(prefix - 40));
  std::memcpy(out + prefix, bits, static_cast<size_t>(rows));
  return reinterpret_cast<BITMAPINFOHEADER*>(out);
}
void FreeGlobalCopy(void* bitmap) noexcept {
  HGLOBAL block = GlobalHandle(bitmap);
  if (!block) return;
  GlobalUnlock(block);
  GlobalFree(block);
}

// Result of checking a mapped BMP file.
enum class BmpLayout { Invalid, Packed, Copy };
// The file header and the info header are checked against the file's
// size: a 40-, 108- or 124-byte header, positive width and height, a
// bit count the engine reads, the table inside the header's room and the
// rows at bfOffBits inside the file.
BmpLayout CheckBmp(const BYTE* file, DWORD size) noexcept {
  if (size < 14 + 40) return BmpLayout::Invalid;
  BITMAPFILEHEADER f;
  std::memcpy(&f, file, sizeof f);
  BITMAPINFOHEADER h;
  std::memcpy(&h, file + 14, sizeof h);
  if (h.biSize != 40 && h.biSize != 108 && h.biSize != 124) return BmpLayout::Invalid;
  if (h.biWidth <= 0 || h.biHeight <= 0 || h.biPlanes != 1) return BmpLayout::Invalid;
  if (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS) return BmpLayout::Invalid;
  if (h.biCompression == BI_BITFIELDS && h.biBitCount != 16 && h.biBitCount != 32) return BmpLayout::Invalid;
  switch (h.biBitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return BmpLayout::Invalid;
  }
  int64_t prefix = PrefixBytes(&h), rows = RowsBytes(&h);
  if (prefix < 0) return BmpLayout::Invalid;
  // Masks sit at offset 40 of every header size; a colour table follows the header.
  int64_t tableEnd = 14 + (h.biCompression == BI_BITFIELDS ? 40 : h.biSize) + (prefix - 40);
  if (f.bfOffBits < 14 + h.biSize || tableEnd > f.bfOffBits || tableEnd > size) return BmpLayout::Invalid;
  if (static_cast<int64_t>(f.bfOffBits) + rows > size) return BmpLayout::Invalid;
  bool packed = h.biSize == 40 && f.bfOffBits == 14 + prefix;
  return packed ? BmpLayout::Packed : BmpLayout::Copy;
}

}  // namespace

// A packed global copy of the BMP in `file` (checked by CheckBmp).
BITMAPINFOHEADER* CopyBmpFile(const BYTE* file) noexcept {
  BITMAPFILEHEADER f;
  std::memcpy(&f, file, sizeof f);
  auto header = reinterpret_cast<const BITMAPINFOHEADER*>(file + 14);
  // Masks are at offset 40 of every header size; a table follows the header.
  const BYTE* table = file + 14 + (header->biCompression == BI_BITFIELDS ? 40 : header->biSize);
  return GlobalCopy(header, table, file + f.bfOffBits);
}

}  // namespace zq::skins

using namespace zq::skins;

ZQAPI void WINAPI ZqSkin_Bmp_Free(tZQSKINBMP* record) noexcept {
  if (!record) return;
  if (record->bitmap) {
    if (record->flags & ZQSKIN_DECODED)
      ZqDibFree(record->bitmap, 0);
    else if (record->flags & ZQSKIN_GLOBAL_COPY)
      FreeGlobalCopy(record->bitmap);
    else if (!(record->flags & ZQSKIN_RESOURCE))
      UnmapViewOfFile(reinterpret_cast<BYTE*>(record->bitmap) - 14);
  }
  if (record->auxiliary) HeapFree(GetProcessHeap(), 0, record->auxiliary);
  if (record->object) DeleteObject(record->object);
  record->bitmap = nullptr;
  record->auxiliary = nullptr;
  record->object = nullptr;
  record->flags &= ~kOwnership;
}

ZQAPI HRESULT WINAPI ZqSkin_Bmp_GetFromResource(tZQSKINBMP* record, LPCWSTR name, HZQLANG lang) noexcept {
  if (!record) return E_FAIL;
  ZqSkin_Bmp_Free(record);
  record->flags |= ZQSKIN_RESOURCE;
  const LPCWSTR types[] = {MAKEINTRESOURCEW(32), RT_BITMAP, L"BINARY"};
  int index = -1;
  HRSRC found = ZqFindResourceMulti(lang, name, types, 3, &index);
  if (!found) return E_FAIL;
  HGLOBAL loaded = ZqLoadResource(lang, found);
  DWORD size = ZqSizeofResource(lang, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data || size == 0) return E_FAIL;
  if (index == 1) {
    if (size < sizeof(BITMAPINFOHEADER)) return E_FAIL;
    record->bitmap = static_cast<BITMAPINFOHEADER*>(const_cast<void*>(data));
    return S_OK;
  }
  BITMAPINFOHEADER* decoded = nullptr;
  if (FAILED(ZqDibFromPng(&decoded, data, size)) || !decoded) return E_FAIL;
  record->bitmap = decoded;
  record->flags = (record->flags & ~ZQSKIN_RESOURCE) | ZQSKIN_DECODED;
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqSkin_Bmp_GetFromFile(tZQSKINBMP* record, LPCWSTR path) noexcept {
  if (!record) return E_FAIL;
  ZqSkin_Bmp_Free(record);
  if (!path) return E_FAIL;
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return E_FAIL;
  LARGE_INTEGER length{};
  HANDLE mapping = nullptr;
  if (GetFileSizeEx(file, &length) && length.QuadPart > 54 && length.QuadPart < 0x7FFFFFFF)
    mapping = CreateFileMappingW(file, nullptr, PAGE_WRITECOPY, 0, 0, nullptr);
  CloseHandle(file);
  if (!mapping) return E_FAIL;
  auto view = static_cast<BYTE*>(MapViewOfFile(mapping, FILE_MAP_COPY, 0, 0, 0));
  CloseHandle(mapping);
  if (!view) return E_FAIL;
  DWORD size = static_cast<DWORD>(length.QuadPart);
  if (view[0] == 'B' && view[1] == 'M') {
    DWORD declared;
    std::memcpy(&declared, view + 2, 4);
    if (size >= declared) {
      switch (CheckBmp(view, size)) {
        case BmpLayout::Packed:
          record->bitmap = reinterpret_cast<BITMAPINFOHEADER*>(view + 14);
          return S_OK;
        case BmpLayout::Copy:
          record->bitmap = CopyBmpFile(view);
          UnmapViewOfFile(view);
          if (!record->bitmap) return E_FAIL;
          record->flags |= ZQSKIN_GLOBAL_COPY;
          return S_OK;
        case BmpLayout::Invalid:
          UnmapViewOfFile(view);
          return E_FAIL;
      }
    }
  }
  BITMAPINFOHEADER* decoded = nullptr;
  HRESULT hr = ZqDibFromPng(&decoded, view, size);
  UnmapViewOfFile(view);
  if (FAILED(hr) || !decoded) return E_FAIL;
  record->bitmap = decoded;
  record->flags |= ZQSKIN_DECODED;
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqSkin_Bmp_Copy(tZQSKINBMP* record, const tZQSKINBMP* source) noexcept {
  if (!record || !source || record == source) return record && record->bitmap ? S_OK : E_FAIL;
  ZqSkin_Bmp_Free(record);
  record->flags = source->flags & ~(ZQSKIN_GLOBAL_COPY | ZQSKIN_DECODED);
  if (!source->bitmap) return E_FAIL;
  if (source->flags & ZQSKIN_RESOURCE) {
    record->bitmap = source->bitmap;
    return S_OK;
  }
  const BITMAPINFOHEADER* h = source->bitmap;
  int64_t prefix = PrefixBytes(h);
  if (prefix < 0 || h->biSize < 40) return E_FAIL;
  const BYTE* start = reinterpret_cast<const BYTE*>(h);
  const BYTE* table = start + (h->biCompression == BI_BITFIELDS ? 40 : h->biSize);
  // The engine's own blocks (FourCC types) keep their layout: header, then rows.
  const BYTE* bits = start + h->biSize + (prefix - 40);
  record->bitmap = GlobalCopy(h, table, bits);
  if (!record->bitmap) return E_FAIL;
  record->flags = (record->flags & ~ZQSKIN_RESOURCE) | ZQSKIN_GLOBAL_COPY;
  return S_OK;
}
