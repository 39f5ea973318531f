// Long, full and module paths.
#include <cwchar>

#include "core/text_copy.h"
#include "files/path_text.h"
#include "zq/files.h"

using namespace zq::files;

// The system's long form; when it fails or does not fit, the input itself,
// as much of it as fits (its length, or length + 1 when it was cut).
ZQAPI DWORD WINAPI ZqGetLongPathName(LPCWSTR path, LPWSTR buffer, DWORD capacity) noexcept {
  if (!path) return 0;
  const int room = capacity > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(capacity);
  if (buffer && room > 0) {
    const DWORD r = GetLongPathNameW(path, buffer, capacity);
    if (r > 0 && r < capacity) return r;
  }
  const size_t length = wcslen(path);
  if (buffer && room > 0 && buffer != path) zq::core::CopyText(buffer, room, path);
  return static_cast<DWORD>(length < static_cast<size_t>(room) ? length : length + 1);
}

ZQAPI DWORD WINAPI ZqGetFullPathName(LPCWSTR path, DWORD capacity, LPWSTR buffer, LPWSTR* filePart) noexcept {
  if (filePart) *filePart = nullptr;
  if (!path || !buffer || capacity == 0) return 0;
  LPWSTR part = nullptr;
  const DWORD r = GetFullPathNameW(path, capacity, buffer, &part);
  if (r == 0 || r >= capacity) return r;
  ZqGetLongPathName(buffer, buffer, capacity);
  if (filePart) {
    LPWSTR name = const_cast<LPWSTR>(ZqGetFileNamePtrW(buffer));
    *filePart = *name ? name : nullptr;
  }
  return r;
}

ZQAPI BOOL WINAPI ZqQualifyPath(LPCWSTR path, LPWSTR buffer, int capacity) noexcept {
  if (!path || !buffer || capacity <= 0) return FALSE;
  const DWORD r = ZqGetFullPathName(path, static_cast<DWORD>(capacity), buffer, nullptr);
  // A long form that did not fit leaves the short one in the buffer: the
  // system still asks for more room than there is.
  const bool fits = r > 0 && r < static_cast<DWORD>(capacity) &&
                    GetLongPathNameW(buffer, nullptr, 0) <= static_cast<DWORD>(capacity);
  if (!fits) buffer[0] = 0;
  return fits;
}

ZQAPI DWORD WINAPI ZqGetTempPath(DWORD capacity, LPWSTR buffer) noexcept {
  if (!buffer || capacity == 0) return 0;
  const DWORD r = GetTempPathW(capacity, buffer);
  if (r == 0 || r >= capacity) {
    buffer[0] = 0;
    return r;
  }
  return ZqGetLongPathName(buffer, buffer, capacity);
}

ZQAPI DWORD WINAPI ZqGetModuleFileName(HMODULE module, LPWSTR buffer, DWORD capacity) noexcept {
  if (!buffer || capacity == 0) return 0;
  const DWORD r = GetModuleFileNameW(module, buffer, capacity);
  if (r == 0 || r >= capacity) {  // failed, or cut to the capacity
    buffer[0] = 0;
    return 0;
  }
  return ZqGetLongPathName(buffer, buffer, capacity);
}

ZQAPI DWORD WINAPI ZqGetModulePath(HMODULE module, LPWSTR buffer, DWORD capacity) noexcept {
  if (!buffer || capacity == 0) return 0;
  // The file name is longer than its folder: a buffer with room for the
  // folder alone gets the name in one of our own first.
  WCHAR own[kMaxPath];
  const bool small = capacity < static_cast<DWORD>(kMaxPath);
  LPWSTR file = small ? own : buffer;
  if (!ZqGetModuleFileName(module, file, small ? static_cast<DWORD>(kMaxPath) : capacity)) {
    buffer[0] = 0;
    return 0;
  }
  *const_cast<LPWSTR>(ZqGetFileNamePtrW(file)) = 0;  // the folder keeps its "\"
  const size_t length = wcslen(file);
  if (length >= capacity) {
    buffer[0] = 0;
    return 0;
  }
  if (small) zq::core::CopyText(buffer, static_cast<int>(capacity), file);
  return static_cast<DWORD>(length);
}
