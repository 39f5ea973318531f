// Transparency masks from a key colour, and recolouring of a bitmap's
// background (the pixels that have its top-left pixel's colour).
#include "zq/marker.h"

namespace {

constexpr DWORD kDestAndNotSource = 0x00220326;  // DSna
constexpr DWORD kPatternWhereSource = 0x00E20746;  // DSPDxax: P where S is set, else D
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// A memory DC with a bitmap selected; restores and deletes on the way out.
class MemoryDc {
 public:
  MemoryDc(HDC like, HBITMAP bitmap) : dc_(CreateCompatibleDC(like)) {
    if (dc_) old_ = SelectObject(dc_, bitmap);
  }
  ~MemoryDc() {
    if (!dc_) return;
    if (old_) SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  bool ok() const { return dc_ && old_ && old_ != HGDI_ERROR; }
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

// A monochrome bitmap, 1 where the picture in `source` has `key`.
HBITMAP KeyMask(HDC source, int width, int height, COLORREF key) noexcept {
  HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
  if (!mask) return nullptr;
  MemoryDc maskDc(source, mask);
  if (!maskDc.ok()) {
    DeleteObject(mask);
    return nullptr;
  }
  const COLORREF oldBack = SetBkColor(source, key);
  BitBlt(maskDc.dc(), 0, 0, width, height, source, 0, 0, SRCCOPY);
  SetBkColor(source, oldBack);
  return mask;
}

// Blits a monochrome mask onto `target` so that its set bits read as all
// ones and its clear bits as zero.
void ApplyMask(HDC target, HBITMAP mask, int width, int height, DWORD rop) noexcept {
  MemoryDc maskDc(target, mask);
  if (!maskDc.ok()) return;
  const COLORREF oldBack = SetBkColor(target, kWhite), oldText = SetTextColor(target, kBlack);
  BitBlt(target, 0, 0, width, height, maskDc.dc(), 0, 0, rop);
  SetBkColor(target, oldBack);
  SetTextColor(target, oldText);
}

}  // namespace

ZQAPI HBITMAP WINAPI ZqCreateBitmapMask(HDC dc, HBITMAP bitmap, COLORREF key) noexcept {
  BITMAP info;
  if (!bitmap || GetObjectW(bitmap, sizeof(info), &info) != sizeof(info)) return nullptr;
  HDC screen = dc ? nullptr : GetDC(nullptr);
  HDC like = dc ? dc : screen;
  HBITMAP mask = nullptr;
  {
    MemoryDc picture(like, bitmap);
    if (picture.ok()) {
      mask = KeyMask(picture.dc(), info.bmWidth, info.bmHeight, key);
      if (mask) ApplyMask(picture.dc(), mask, info.bmWidth, info.bmHeight, kDestAndNotSource);
    }
  }
  if (screen) ReleaseDC(nullptr, screen);
  return mask;
}

ZQAPI BOOL WINAPI ZqBitmapColorTranslate(HDC dc, const BITMAP* bitmap, COLORREF colour) noexcept {
  if (!dc || !bitmap) return FALSE;
  if (bitmap->bmPlanes == 1 && bitmap->bmBitsPixel == 1) return TRUE;
  const COLORREF background = GetPixel(dc, 0, 0);
  if (background == (colour & 0x00FFFFFF)) return TRUE;
  HBITMAP mask = KeyMask(dc, bitmap->bmWidth, bitmap->bmHeight, background);
  if (!mask) return FALSE;
  HBRUSH brush = CreateSolidBrush(colour);
  if (brush) {
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    ApplyMask(dc, mask, bitmap->bmWidth, bitmap->bmHeight, kPatternWhereSource);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
  }
  DeleteObject(mask);
  return TRUE;
}
