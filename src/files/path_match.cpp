// Wildcard matching and the relative-path operations.
#include <cwchar>

#include "core/text_copy.h"
#include "files/path_text.h"
#include "zq/files.h"

using namespace zq::files;

ZQAPI BOOL WINAPI ZqIsMatchWildCard(LPCWSTR pattern, LPCWSTR name) noexcept {
  if (!pattern || !name) return FALSE;
  if (pattern[0] == L'*' && pattern[1] == 0) return TRUE;
  const WCHAR* p = pattern;
  const WCHAR* n = name;
  while (*n) {
    if (!*p) return n[0] == L'.' && n[1] == 0;  // the pattern ended first
    if (*p == L'?') {
      ++p;
      ++n;
    } else if (*p == L'*') {
      // As far as the next dot or the character after the star.
      const WCHAR next = p[1];
      while (*n && *n != L'.' && (next == 0 || *n != next)) ++n;
      ++p;
    } else if (*p++ != *n++) {
      return FALSE;
    }
  }
  return *p == 0 || *p == L'*' || (p[0] == L'.' && p[1] == 0);
}

ZQAPI LPCWSTR WINAPI ZqGetFileNamePtrRelative(LPCWSTR relative, LPCWSTR path) noexcept {
  if (!path) return nullptr;
  if (!relative) relative = L"";
  const int pathLength = static_cast<int>(wcslen(path)), relativeLength = static_cast<int>(wcslen(relative));
  int i = pathLength, j = relativeLength;
  while (i > 0 && j > 0 && SameIgnoringCase(path[i - 1], relative[j - 1])) {
    --i;
    --j;
  }
  if (i == 0) return path;  // all of the path matched
  // From where they differ on to the next component boundary.
  const WCHAR* p = path + i - 1;
  while (*p && *p != L'\\') ++p;
  while (*p == L'\\') ++p;
  return p;
}

ZQAPI HRESULT WINAPI ZqGetBasePathRelative(LPCWSTR relative, LPCWSTR path, LPWSTR buffer, int capacity) noexcept {
  if (!buffer || capacity <= 0) return E_INVALIDARG;
  buffer[0] = 0;
  if (!path) return E_INVALIDARG;
  const int base = static_cast<int>(ZqGetFileNamePtrRelative(relative, path) - path);
  const bool slash = base > 0 && path[base - 1] == L'\\';  // one "\" at the end, never two
  const int needed = base + (slash ? 0 : 1);
  zq::core::CopyTextN(buffer, capacity, path, base);
  if (needed + 1 > capacity) return E_FAIL;  // cut
  if (!slash) {
    buffer[base] = L'\\';
    buffer[base + 1] = 0;
  }
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqReplaceBasePathRelative(LPCWSTR path, LPCWSTR oldBase, LPCWSTR newBase, LPWSTR buffer,
                                               int capacity) noexcept {
  if (!buffer || capacity <= 0) return E_INVALIDARG;
  buffer[0] = 0;
  if (!path || !oldBase || !newBase) return E_FAIL;
  const size_t oldLength = wcslen(oldBase);
  if (wcslen(path) < oldLength || CompareStringOrdinal(path, static_cast<int>(oldLength), oldBase,
                                                       static_cast<int>(oldLength), TRUE) != CSTR_EQUAL)
    return E_FAIL;
  const WCHAR* rest = path + oldLength;
  const size_t total = wcslen(newBase) + wcslen(rest);
  if (total >= static_cast<size_t>(kMaxPath) || total + 1 > static_cast<size_t>(capacity)) return E_FAIL;
  zq::core::CopyText(buffer, capacity, newBase);
  zq::core::AppendText(buffer, capacity, rest);
  return S_OK;
}
