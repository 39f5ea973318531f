// Small string tidying operations.
#include <cwchar>
#include <cwctype>

#include "core/text_copy.h"
#include "zq/number.h"

namespace {

constexpr int kMenuWork = 260;

inline bool IsSpace(WCHAR c) { return c && iswspace(c); }

}  // namespace

ZQAPI int WINAPI ZqStringReplaceChars(LPWSTR text, WCHAR find, WCHAR replacement) noexcept {
  if (!text) return 0;
  int n = 0;
  for (; text[n]; ++n)
    if (text[n] == find) text[n] = replacement;
  return n;
}

ZQAPI int WINAPI ZqStripWhiteSpace(LPWSTR text) noexcept {
  if (!text) return 0;
  int start = 0;
  while (IsSpace(text[start])) ++start;
  int end = start;
  while (text[end]) ++end;
  while (end > start && IsSpace(text[end - 1])) --end;
  int length = end - start;
  if (start > 0) wmemmove(text, text + start, static_cast<size_t>(length));
  text[length] = 0;
  return length;
}

ZQAPI LPWSTR WINAPI ZqPrepareName(LPCWSTR source, LPWSTR buffer, int capacity) noexcept {
  if (!buffer || capacity <= 0) return nullptr;
  buffer[0] = 0;
  if (!source) return nullptr;
  while (IsSpace(*source)) ++source;
  int n = zq::core::CopyText(buffer, capacity, source);
  while (n > 0 && IsSpace(buffer[n - 1])) --n;
  buffer[n] = 0;
  return n > 0 ? buffer : nullptr;
}

ZQAPI int WINAPI ZqFixNameForMenu(LPWSTR buffer, LPCWSTR source, int capacity) noexcept {
  if (!buffer || capacity <= 0) return 0;
  WCHAR work[kMenuWork];
  int n = 0;
  if (source) {
    // An "&" is doubled only when both characters fit the work area.
    for (; *source; ++source) {
      int need = *source == L'&' ? 2 : 1;
      if (n + need > kMenuWork - 1) break;
      work[n++] = *source;
      if (need == 2) work[n++] = L'&';
    }
  }
  work[n] = 0;
  return zq::core::CopyText(buffer, capacity, work);
}
