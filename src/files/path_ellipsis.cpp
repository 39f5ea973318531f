// Shortening a path with "..." until it fits a width in pixels.
#include <cwchar>

#include "files/path_text.h"
#include "zq/files.h"

using namespace zq::files;

namespace {

// The text extent of `text`, or -1 when it cannot be measured.
int Extent(HDC dc, const WCHAR* text, int length) {
  SIZE size{};
  return GetTextExtentPoint32W(dc, text, length, &size) ? size.cx : -1;
}

}  // namespace

// Candidates keep the first characters before a separator, then "..." and
// the rest from that separator. Only candidates no longer than the path
// itself are considered, so the result always fits the caller's buffer.
ZQAPI BOOL WINAPI ZqCalcPathEllipsis(HDC dc, LPWSTR path, int width) noexcept {
  if (!dc || !path) return FALSE;
  const int length = BoundedLength(path, kMaxPath) < 0 ? kMaxPath - 1 : static_cast<int>(wcslen(path));
  const int full = Extent(dc, path, length);
  if (full < 0) return FALSE;
  if (full <= width) return TRUE;
  WCHAR candidate[kMaxPath + 3], last[kMaxPath + 3];
  int lastLength = -1;
  for (int separator = 2; separator < length; ++separator) {
    if (path[separator] != L'\\' && path[separator] != L'/') continue;
    for (int keep = separator - 1; keep >= 2; --keep) {
      const int n = keep + 3 + (length - separator);
      if (n > length) continue;  // longer than the path: never stored
      wmemcpy(candidate, path, keep);
      wmemcpy(candidate + keep, L"...", 3);
      wmemcpy(candidate + keep + 3, path + separator, length - separator);
      const int extent = Extent(dc, candidate, n);
      if (extent < 0) return FALSE;
      wmemcpy(last, candidate, n);
      lastLength = n;
      if (extent <= width) {
        wmemcpy(path, candidate, n);
        path[n] = 0;
        return TRUE;
      }
    }
  }
  if (lastLength >= 0) {  // nothing fits: the last candidate
    wmemcpy(path, last, lastLength);
    path[lastLength] = 0;
  }
  return TRUE;
}
