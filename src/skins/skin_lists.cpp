// Cutting skin strips into image lists: 32-bit lists with alpha where the
// common controls draw them, else 24-bit lists masked with magenta; rows
// tinted toward the caption colour through the Overlay compositor, and the
// derived "hot" and "disabled" lists.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "zq/colour.h"
#include "zq/dib.h"
#include "zq/kernel.h"
#include "zq/overlay.h"
#include "zq/skin.h"

namespace zq::skins {
namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr int kOverlayCompositor = 2;

int Count(HIMAGELIST list) noexcept { return list ? ImageList_GetImageCount(list) : 0; }

// An Rgba32 image block owned for the length of a call.
class RowImage {
 public:
  RowImage(int width, int height) noexcept {
    if (FAILED(ZqDibAlloc(&header_, ZqPixel_Rgba32, width, height, nullptr, 0, ZQDIBALLOC_ZERO))) header_ = nullptr;
  }
  ~RowImage() { ZqDibFree(header_, 0); }
  RowImage(const RowImage&) = delete;
  RowImage& operator=(const RowImage&) = delete;
  BITMAPINFOHEADER* Header() const noexcept { return header_; }
  ZQRGBA* Pixels() const noexcept { return reinterpret_cast<ZQRGBA*>(header_ + 1); }
  int PixelCount() const noexcept { return header_->biWidth * header_->biHeight; }

 private:
  BITMAPINFOHEADER* header_ = nullptr;
};

// The caption tint: the average of the active caption colours, or a light
// blue when that is nearly grey.
ZQRGBA CaptionTint() noexcept {
  COLORREF a = GetSysColor(COLOR_ACTIVECAPTION), b = GetSysColor(COLOR_GRADIENTACTIVECAPTION);
  ZQRGBA tint{static_cast<BYTE>((GetBValue(a) + GetBValue(b)) / 2), static_cast<BYTE>((GetGValue(a) + GetGValue(b)) / 2),
              static_cast<BYTE>((GetRValue(a) + GetRValue(b)) / 2), 255};
  ZQHSL hsl;
  ZQRGBA_To_ZQHSL(&hsl, tint);
  if (hsl.saturation < 0.1) tint = ZQRGBA{255, 190, 140, 255};
  return tint;
}
ZQRGBA Tint(COLORREF c) noexcept { return ZQRGBA{GetBValue(c), GetGValue(c), GetRValue(c), 255}; }

// Every pixel keeps its alpha: saturation scaled by (255 - desaturation) /
// 255 when asked, then the tint composed over it by the Overlay compositor.
void TintRow(RowImage& row, ZQRGBA tint, DWORD flags) noexcept {
  int opacity = flags & 0xFF, desaturation = (flags >> 8) & 0xFF;
  const tZQOVERLAY* overlay = ZqOverlay_GetCompositor(kOverlayCompositor);
  ZQRGBA* p = row.Pixels();
  for (int i = 0; i < row.PixelCount(); ++i) {
    BYTE alpha = p[i].alpha;
    if (desaturation) {
      ZQHSL hsl;
      ZQRGBA_To_ZQHSL(&hsl, p[i]);
      hsl.saturation = hsl.saturation * (255 - desaturation) / 255;
      ZQHSL_To_ZQRGBA(&p[i], hsl);
    }
    overlay->pixel(&p[i], &tint, opacity);
    p[i].alpha = alpha;
  }
}

// Saturation + 0.25 where it exceeds 0.05, lightness - 0.1, both held to 0..1.
void MakeHot(RowImage& row) noexcept {
  ZQRGBA* p = row.Pixels();
  for (int i = 0; i < row.PixelCount(); ++i) {
    BYTE alpha = p[i].alpha;
    ZQHSL hsl;
    ZQRGBA_To_ZQHSL(&hsl, p[i]);
    if (hsl.saturation > 0.05) hsl.saturation = std::min(1.0, hsl.saturation + 0.25);
    hsl.lightness = std::clamp(hsl.lightness - 0.1, 0.0, 1.0);
    ZQHSL_To_ZQRGBA(&p[i], hsl);
    p[i].alpha = alpha;
  }
}

void MakeDisabled(RowImage& row) noexcept {
  RECT bounds{0, 0, row.Header()->biWidth, row.Header()->biHeight};
  ZqDibDesaturate(reinterpret_cast<BYTE*>(row.Pixels()), &bounds, bounds.right * 4, nullptr, 4, FALSE);
  ZqDibFadeToColor(row.Header(), nullptr, nullptr, 0, ZQRGBAFLOAT{1.0f, 1.0f, 1.0f, 1.0f}, 0.25f, TRUE, 0);
}

// A bottom-up DIB section holding `bits` (rows of width x bytes, padded).
HBITMAP Section(int width, int height, int bitCount, const void* bits) noexcept {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(bitCount);
  info.bmiHeader.biCompression = BI_RGB;
  void* out = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &out, nullptr, 0);
  if (bitmap && out) std::memcpy(out, bits, static_cast<size_t>((width * bitCount + 31) / 32 * 4) * height);
  return bitmap;
}

// Adds one cut row to a list, creating the list in an empty slot.
void AddRow(HIMAGELIST& list, const RowImage& row, SIZE cell, int columns, DWORD flags) noexcept {
  int width = row.Header()->biWidth, height = row.Header()->biHeight;
  if (ZqOSVersionOK(ZQOS_WINXP) && !(flags & ZQSKINLIST_MASKED)) {
    if (!list) list = ImageList_Create(cell.cx, cell.cy, ILC_COLOR32, columns, columns);
    HBITMAP bitmap = Section(width, height, 32, row.Pixels());
    if (list && bitmap) ImageList_Add(list, bitmap, nullptr);
    if (bitmap) DeleteObject(bitmap);
    return;
  }
  // Flattened onto the button face with each pixel's alpha (an opaque one
  // keeps its colour); clear pixels become the magenta mask colour.
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  const int faceBgr[3] = {GetBValue(face), GetGValue(face), GetRValue(face)};
  int stride = (width * 3 + 3) & ~3;
  std::vector<BYTE> flat;
  try {
    flat.resize(static_cast<size_t>(stride) * height);
  } catch (...) {
    return;
  }
  const ZQRGBA* p = row.Pixels();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x, ++p) {
      BYTE* out = &flat[static_cast<size_t>(y) * stride + 3 * x];
      const BYTE in[3] = {p->blue, p->green, p->red};
      for (int c = 0; c < 3; ++c)
        out[c] = p->alpha ? static_cast<BYTE>((in[c] * p->alpha + faceBgr[c] * (255 - p->alpha)) / 255)
                          : (c == 1 ? 0 : 255);
    }
  if (!list) list = ImageList_Create(cell.cx, cell.cy, ILC_COLOR24 | ILC_MASK, columns, columns);
  HBITMAP bitmap = Section(width, height, 24, flat.data());
  if (list && bitmap) ImageList_AddMasked(list, bitmap, kMagenta);
  if (bitmap) DeleteObject(bitmap);
}

struct Geometry {
  int columns = 0, rows = 0, width = 0;
  SIZE cell{};
};
// Columns, rows and cell height of a strip; false when nothing can be cut.
bool Measure(const BITMAPINFOHEADER* bitmap, SIZE* cell, Geometry& g) noexcept {
  if (!bitmap || !cell || cell->cx <= 0 || bitmap->biWidth <= 0 || bitmap->biHeight <= 0) return false;
  int w = cell->cx;
  g.columns = bitmap->biWidth / w;
  g.rows = std::max(1, static_cast<int>((bitmap->biHeight + w / 2) / w));
  int h = bitmap->biHeight / g.rows;
  if (g.columns <= 0 || h <= 0) return false;
  cell->cy = h;
  g.cell = SIZE{w, h};
  g.width = g.columns * w;
  return true;
}

bool CopyRow(RowImage& row, const BITMAPINFOHEADER* bitmap, const Geometry& g, int r) noexcept {
  RECT source{0, r * g.cell.cy, g.width, (r + 1) * g.cell.cy};
  return SUCCEEDED(ZqDibCopy(row.Header(), nullptr, nullptr, 0, bitmap, nullptr, &source, 0, 0));
}

bool Is32(const BITMAPINFOHEADER* bitmap) noexcept {
  int type = ZqGetPixelType(bitmap);
  return type == ZqPixel_Rgb32 || type == ZqPixel_Rgba32;
}

// Rows of other depths: stretched into screen-compatible bitmaps, masked
// with magenta, untinted.
void AddDeviceRows(const BITMAPINFOHEADER* bitmap, const Geometry& g, HIMAGELIST* lists, int count) noexcept {
  // The rows are found by the header's size and colour count: sizes no
  // packed bitmap has would place them anywhere.
  if (bitmap->biSize < sizeof(BITMAPINFOHEADER) || bitmap->biSize > 0x10000 || bitmap->biClrUsed > 256) return;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  const BYTE* bits = reinterpret_cast<const BYTE*>(bitmap) + bitmap->biSize +
                     (bitmap->biCompression == BI_BITFIELDS ? 12 : 0) +
                     4 * (bitmap->biClrUsed ? bitmap->biClrUsed
                                            : (bitmap->biBitCount <= 8 ? 1u << bitmap->biBitCount : 0u));
  for (int r = 0; r < std::min(g.rows, count); ++r) {
    HBITMAP target = CreateCompatibleBitmap(screen, g.width, g.cell.cy);
    if (!target) break;
    HGDIOBJ old = SelectObject(memory, target);
    // Picture row r from the top is stored counting from the bottom.
    int sourceY = bitmap->biHeight - (r + 1) * g.cell.cy;
    const int drawn = StretchDIBits(memory, 0, 0, g.width, g.cell.cy, 0, sourceY, g.width, g.cell.cy, bits,
                                    reinterpret_cast<const BITMAPINFO*>(bitmap), DIB_RGB_COLORS, SRCCOPY);
    SelectObject(memory, old);
    if (drawn <= 0) {  // a header GDI cannot draw (0 or GDI_ERROR): no blank images
      DeleteObject(target);
      break;
    }
    if (!lists[r]) lists[r] = ImageList_Create(g.cell.cx, g.cell.cy, ILC_COLORDDB | ILC_MASK, g.columns, g.columns);
    if (lists[r]) ImageList_AddMasked(lists[r], target, kMagenta);
    DeleteObject(target);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

}  // namespace
}  // namespace zq::skins

using namespace zq::skins;

ZQAPI int WINAPI ZqSkin_GetImageLists(const BITMAPINFOHEADER* bitmap, SIZE* cell, HIMAGELIST* lists, int count,
                                      DWORD flags, int* previous) noexcept {
  if (!lists || count <= 0) count = 0;
  if (previous) *previous = count ? Count(lists[0]) : 0;
  Geometry g;
  if (count == 0 || !Measure(bitmap, cell, g)) return 0;  // a cell width of 0 cuts nothing
  if (!(flags & ZQSKINLIST_APPEND))
    for (int i = 0; i < count; ++i)
      if (lists[i]) ImageList_RemoveAll(lists[i]);
  if (!Is32(bitmap)) {
    AddDeviceRows(bitmap, g, lists, count);
    return Count(lists[0]);
  }
  RowImage row(g.width, g.cell.cy);
  if (!row.Header()) return Count(lists[0]);
  ZQRGBA tint = CaptionTint();
  for (int i = 0; i < count; ++i) {
    if (!CopyRow(row, bitmap, g, i < g.rows ? i : 0)) break;
    if (i < g.rows || i == 1) TintRow(row, tint, flags);
    if (i >= g.rows && i == 1) MakeHot(row);
    if (i >= g.rows && i == 2) MakeDisabled(row);
    AddRow(lists[i], row, g.cell, g.columns, flags);
  }
  return Count(lists[0]);
}

ZQAPI int WINAPI ZqSkin_Bmp_GetImageLists(const tZQSKINBMP* record, SIZE* cell, HIMAGELIST* lists, int count,
                                          DWORD flags, int* previous) noexcept {
  if (!record || !record->bitmap || (record->flags & ZQSKIN_NO_LISTS)) {
    int n = lists && count > 0 ? Count(lists[0]) : 0;
    if (previous) *previous = n;
    return n;
  }
  return ZqSkin_GetImageLists(record->bitmap, cell, lists, count, flags, previous);
}

ZQAPI int WINAPI ZqSkin_GetTrackIconImageLists(const tZQSKINBMP* record, SIZE* cell, const COLORREF* colours,
                                               int colourCount, int count, HIMAGELIST* lists, DWORD flags) noexcept {
  if (!lists || count <= 0) return 0;
  Geometry g;
  if (!record || !record->bitmap || (record->flags & ZQSKIN_NO_LISTS) || !Is32(record->bitmap) || !colours ||
      colourCount <= 0 || !Measure(record->bitmap, cell, g))
    return Count(lists[0]);
  if (!(flags & ZQSKINLIST_APPEND))
    for (int i = 0; i < count; ++i)
      if (lists[i]) ImageList_RemoveAll(lists[i]);
  RowImage row(g.width, g.cell.cy);
  if (!row.Header()) return Count(lists[0]);
  for (int i = 0; i < count; ++i) {
    if (!CopyRow(row, record->bitmap, g, 0)) break;
    TintRow(row, Tint(colours[i % colourCount]), flags);
    AddRow(lists[i], row, g.cell, g.columns, flags);
  }
  return Count(lists[0]);
}

ZQAPI void WINAPI ZqSkin_RemoveImageListsItems(HIMAGELIST* lists, int count, int first, int number) noexcept {
  if (!lists) return;
  for (int i = 0; i < count; ++i) {
    if (!lists[i]) continue;
    if (first <= 0 && number < 0) {
      ImageList_RemoveAll(lists[i]);
      continue;
    }
    int n = ImageList_GetImageCount(lists[i]);
    int from = std::clamp(first, 0, n);
    // In 64 bits: a count up to INT_MAX from any start cannot wrap.
    int to = number < 0 ? n - 1 : static_cast<int>(std::min<int64_t>(n - 1, int64_t{from} + number - 1));
    for (int k = to; k >= from; --k) ImageList_Remove(lists[i], k);
  }
}
