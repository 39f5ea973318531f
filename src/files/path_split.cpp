// Splitting and composing path strings.
#include <cwchar>

#include "core/text_copy.h"
#include "files/path_text.h"
#include "zq/files.h"

using namespace zq::files;

namespace {

// After the last separator of the first `length` characters.
const WCHAR* FileNameOf(const WCHAR* path) {
  const WCHAR* name = path;
  for (const WCHAR* p = path; *p; ++p)
    if (IsSeparator(*p)) name = p + 1;
  return name;
}

// The last dot of the file-name part, or its end when it has none or white
// space follows that dot.
const WCHAR* ExtensionOf(const WCHAR* name) {
  const WCHAR* dot = nullptr;
  const WCHAR* p = name;
  for (; *p; ++p)
    if (*p == L'.') dot = p;
  if (!dot) return p;
  for (const WCHAR* q = dot + 1; *q; ++q)
    if (iswspace(*q)) return p;
  return dot;
}

}  // namespace

ZQAPI LPCWSTR WINAPI ZqGetFileNamePtrW(LPCWSTR path) noexcept { return path ? FileNameOf(path) : nullptr; }

ZQAPI LPCSTR WINAPI ZqGetFileNamePtrA(LPCSTR path) noexcept {
  if (!path) return nullptr;
  LPCSTR name = path;
  for (LPCSTR p = path; *p; p = CharNextA(p))
    if (*p == '\\' || *p == ':') name = p + 1;
  return name;
}

// Only the file-name part: a dot in a folder name is not an extension.
ZQAPI LPCWSTR WINAPI ZqGetFileNameExtensionPtrW(LPCWSTR path) noexcept {
  return path ? ExtensionOf(FileNameOf(path)) : nullptr;
}

ZQAPI LPCSTR WINAPI ZqGetFileNameExtensionPtrA(LPCSTR path) noexcept {
  LPCSTR name = ZqGetFileNamePtrA(path);
  if (!name) return nullptr;
  LPCSTR dot = nullptr, p = name;
  for (; *p; p = CharNextA(p))
    if (*p == '.') dot = p;
  if (!dot) return p;
  for (LPCSTR q = dot + 1; *q; q = CharNextA(q))
    if (isspace(static_cast<unsigned char>(*q))) return p;
  return dot;
}

ZQAPI LPWSTR WINAPI ZqGetFileNameWithoutPathOrExtension(LPCWSTR path, LPWSTR buffer, int capacity) noexcept {
  if (!buffer || capacity <= 0) return nullptr;
  zq::core::CopyText(buffer, capacity, path ? FileNameOf(path) : L"");
  LPWSTR cut = const_cast<LPWSTR>(ExtensionOf(buffer));
  *cut = 0;
  return cut;
}

ZQAPI int WINAPI ZqGetPathNameFromFilePath(LPCWSTR path, LPWSTR buffer, int capacity) noexcept {
  if (buffer && capacity > 0) buffer[0] = 0;
  if (!path || !*path) return 0;
  const int length = static_cast<int>(FileNameOf(path) - path);
  if (buffer && capacity >= length + 1 && length > 0) zq::core::CopyTextN(buffer, capacity, path, length);
  return length;
}

ZQAPI int WINAPI ZqGetRootPathFromFilePath(LPCWSTR path, LPWSTR buffer, int capacity) noexcept {
  if (buffer && capacity > 0) buffer[0] = 0;
  if (!path) return 0;
  const WCHAR* end = nullptr;
  if (path[0] == L'\\' && path[1] == L'\\') {
    // "\\server\share\": the backslash after the share name ends it.
    const WCHAR* server = wcschr(path + 2, L'\\');
    end = server ? wcschr(server + 1, L'\\') : nullptr;
  } else {
    end = wcschr(path, L'\\');
  }
  if (!end) return 0;
  const int length = static_cast<int>(end - path) + 1;
  if (buffer && capacity >= length + 1) zq::core::CopyTextN(buffer, capacity, path, length);
  return length;
}

ZQAPI int WINAPI ZqAddSlashToPathName(LPWSTR path, int capacity) noexcept {
  if (!path || capacity <= 0) return 0;
  const int length = BoundedLength(path, capacity);
  if (length <= 0) return 0;  // empty, or no terminator within the capacity
  if (path[length - 1] == L'\\') return length;
  if (length + 2 > capacity) return 0;
  path[length] = L'\\';
  path[length + 1] = 0;
  return length + 1;
}

ZQAPI int WINAPI ZqRemoveSlashFromPathNameEnd(LPWSTR path, int capacity) noexcept {
  if (!path || capacity <= 0) return 0;
  int length = BoundedLength(path, capacity);
  if (length <= 0) return 0;
  if (path[length - 1] == L'\\') path[--length] = 0;
  return length;
}

ZQAPI int WINAPI ZqAddExtensionToPathName(LPWSTR path, int capacity, LPCWSTR extension) noexcept {
  if (!path || capacity <= 0) return 0;
  const int length = BoundedLength(path, capacity);
  if (length < 0) return 0;
  if (!extension) return length;
  if (*extension == L'.') ++extension;
  WCHAR* current = const_cast<WCHAR*>(ExtensionOf(FileNameOf(path)));
  const WCHAR* existing = *current == L'.' ? current + 1 : current;
  if (*current == L'.' && CompareStringOrdinal(existing, -1, extension, -1, TRUE) == CSTR_EQUAL) return length;
  // The new extension replaces the old one, as much of it as fits.
  int at = static_cast<int>(current - path);
  if (at + 1 >= capacity) return length;
  path[at++] = L'.';
  for (const WCHAR* e = extension; *e && at + 1 < capacity; ++e) path[at++] = *e;
  path[at] = 0;
  return at;
}

ZQAPI BOOL WINAPI ZqValidateFileName(LPWSTR name, BOOL repair) noexcept {
  if (!name) return TRUE;
  BOOL valid = TRUE;
  for (WCHAR* p = name; *p; ++p) {
    if (!wcschr(L"\"*/:<>?\\|", *p)) continue;
    valid = FALSE;
    if (!repair) break;
    *p = L'_';
  }
  return valid;
}
