// Recolourable 16-colour bitmaps: a copy of the resource with six palette
// entries replaced, made into a bitmap for the screen. The resource itself
// is read-only and stays as it is.
#include <cstring>
#include <memory>
#include <new>

#include "zq/ui.h"

namespace zq::controls {
namespace {

struct Layout {
  UINT64 tableEntries = 0;  // RGBQUADs (or the three masks as three entries)
  UINT64 bitsBytes = 0;
};

bool MeasureBitmap(const BITMAPINFOHEADER& header, Layout* layout) {
  if (header.biWidth <= 0 || header.biHeight == 0 || header.biPlanes != 1) return false;
  const UINT64 height = header.biHeight < 0 ? -static_cast<INT64>(header.biHeight) : header.biHeight;
  switch (header.biBitCount) {
    case 1: case 4: case 8:
      layout->tableEntries = header.biClrUsed ? header.biClrUsed : (1u << header.biBitCount);
      break;
    case 16: case 24: case 32:
      layout->tableEntries = header.biCompression == BI_BITFIELDS ? 3 : header.biClrUsed;
      break;
    default: return false;
  }
  if (header.biCompression == BI_RGB || header.biCompression == BI_BITFIELDS) {
    const UINT64 stride = ((static_cast<UINT64>(header.biWidth) * header.biBitCount + 31) / 32) * 4;
    layout->bitsBytes = stride * height;
  } else {
    layout->bitsBytes = header.biSizeImage;
    if (!layout->bitsBytes) return false;
  }
  return true;
}

RGBQUAD Quad(COLORREF colour) {
  RGBQUAD quad{};
  quad.rgbRed = GetRValue(colour);
  quad.rgbGreen = GetGValue(colour);
  quad.rgbBlue = GetBValue(colour);
  return quad;
}

}  // namespace
}  // namespace zq::controls

using namespace zq::controls;

ZQAPI HBITMAP WINAPI ZqLoadUIBitmapEx(HINSTANCE instance, LPCWSTR resource, COLORREF c0, COLORREF c7, COLORREF c8,
                                      COLORREF c15, COLORREF c11, COLORREF c10) noexcept {
  HRSRC found = FindResourceW(instance, resource, MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
  const BYTE* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
  const DWORD size = found ? SizeofResource(instance, found) : 0;
  BITMAPINFOHEADER header{};
  if (!data || size < sizeof(header)) return nullptr;
  std::memcpy(&header, data, sizeof(header));
  Layout layout;
  if (header.biSize != sizeof(header) || !MeasureBitmap(header, &layout)) return nullptr;
  const UINT64 tableBytes = layout.tableEntries * sizeof(RGBQUAD);
  const UINT64 needed = sizeof(header) + tableBytes + layout.bitsBytes;
  if (needed > size) return nullptr;

  const bool recolourable = header.biBitCount == 4 && header.biCompression == BI_RGB && layout.tableEntries >= 16;
  if (!recolourable) return LoadBitmapW(instance, resource);

  std::unique_ptr<BYTE[]> copy(new (std::nothrow) BYTE[needed]);
  if (!copy) return nullptr;
  std::memcpy(copy.get(), data, needed);
  auto* table = reinterpret_cast<RGBQUAD*>(copy.get() + sizeof(header));
  table[0] = Quad(c0);
  table[7] = Quad(c7);
  table[8] = Quad(c8);
  table[15] = Quad(c15);
  table[11] = Quad(c11);
  table[10] = Quad(c10);

  HDC screen = GetDC(nullptr);
  if (!screen) return nullptr;
  auto* info = reinterpret_cast<BITMAPINFO*>(copy.get());
  HBITMAP bitmap = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, copy.get() + sizeof(header) + tableBytes, info,
                                  DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return bitmap;
}
