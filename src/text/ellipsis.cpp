// Shortening a text with "..." to fit a width in pixels.
#include <cwchar>

#include "zq/printf.h"

namespace {

constexpr WCHAR kDots[] = L"...";
constexpr int kDotsLength = 3;

bool Extent(HDC dc, const WCHAR* text, int length, LONG* width) {
  SIZE size{};
  if (length == 0) {
    *width = 0;
    return true;
  }
  if (!GetTextExtentPoint32W(dc, text, length, &size)) return false;
  *width = size.cx;
  return true;
}

// Keeps the first (fromEnd: the last) n characters with "..." on the cut
// side, for the largest n that fits `width` - 2 pixels and the capacity.
BOOL Fit(HDC dc, LPWSTR text, int capacity, int width, bool fromEnd) {
  if (!text || capacity <= 0) return FALSE;
  const int length = static_cast<int>(wcsnlen(text, static_cast<size_t>(capacity - 1)));
  const LONG room = static_cast<LONG>(width) - 2;
  LONG full;
  if (!Extent(dc, text, length, &full)) return FALSE;
  if (full <= room) {
    text[length] = 0;
    return TRUE;
  }
  LONG dots;
  if (!Extent(dc, kDots, kDotsLength, &dots)) return FALSE;
  for (int n = length - 1; n >= 0; --n) {
    if (n + kDotsLength > capacity - 1) continue;
    LONG part;
    if (!Extent(dc, fromEnd ? text + length - n : text, n, &part)) return FALSE;
    if (part + dots > room) continue;
    if (fromEnd) {
      wmemmove(text + kDotsLength, text + length - n, static_cast<size_t>(n));
      wmemcpy(text, kDots, kDotsLength);
    } else {
      wmemcpy(text + n, kDots, kDotsLength);
    }
    text[n + kDotsLength] = 0;
    return TRUE;
  }
  return FALSE;
}

}  // namespace

ZQAPI BOOL WINAPI ZqCalcStringEllipsis(HDC dc, LPWSTR text, int capacity, int width) noexcept {
  return Fit(dc, text, capacity, width, false);
}

ZQAPI BOOL WINAPI ZqCalcStringEllipsisFromEnd(HDC dc, LPWSTR text, int capacity, int width) noexcept {
  return Fit(dc, text, capacity, width, true);
}
