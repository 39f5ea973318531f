// Registry key helpers: sub-key counts and recursive deletion.
#include "zq/registry.h"

ZQAPI LONG WINAPI ZqRegGetSubKeyCount(HKEY root, LPCWSTR subKey, DWORD* longestName) noexcept {
  if (longestName) *longestName = 1;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return -1;
  DWORD count = 0, longest = 0;
  LONG status = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return -1;
  if (longestName) *longestName = longest + 1;
  return static_cast<LONG>(count);
}

namespace {

bool KeyExists(HKEY root, LPCWSTR subKey) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// One pass: deletes the sub-keys it can enumerate, then the key itself.
// Returns the result of deleting the key; `progress` says whether
// anything was deleted.
LONG DeletePass(HKEY root, LPCWSTR subKey, bool* progress) {
  DWORD longest = 1;
  LONG count = ZqRegGetSubKeyCount(root, subKey, &longest);
  if (count > 0) {
    HKEY key = nullptr;
    LONG status = RegOpenKeyExW(root, subKey, 0, KEY_ALL_ACCESS, &key);
    if (status != ERROR_SUCCESS) return status;
    WCHAR name[256];
    for (LONG i = 0; i < count; ++i) {
      DWORD length = ARRAYSIZE(name);
      if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      if (ZqRegDeleteKey(key, name) == ERROR_SUCCESS) *progress = true;
    }
    RegCloseKey(key);
  }
  LONG result = RegDeleteKeyW(root, subKey);
  if (result == ERROR_SUCCESS) *progress = true;
  return result;
}

}  // namespace

// Deleting while enumerating by increasing index skips every second
// sub-key, so passes repeat while the key exists; a pass that deletes
// nothing (no rights, say) ends the loop with its error.
ZQAPI LONG WINAPI ZqRegDeleteKey(HKEY root, LPCWSTR subKey) noexcept {
  if (!root || !subKey || !*subKey) return ERROR_INVALID_PARAMETER;
  for (;;) {
    bool progress = false;
    LONG result = DeletePass(root, subKey, &progress);
    if (!KeyExists(root, subKey)) return result;
    if (!progress) return result == ERROR_SUCCESS ? ERROR_ACCESS_DENIED : result;
  }
}
