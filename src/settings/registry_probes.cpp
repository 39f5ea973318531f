// Small registry probes: Explorer's file-extension setting and the right
// to write machine-wide settings.
#include "settings/registry_key.h"
#include "zq/kernel.h"
#include "zq/registry.h"

ZQAPI BOOL WINAPI ZqIsExplorerFileExtHidden(void) noexcept {
  zq::settings::RegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced", 0,
                    KEY_READ, key.put()) != ERROR_SUCCESS)
    return TRUE;
  DWORD type = REG_NONE, value = 1, size = sizeof(value);
  if (RegQueryValueExW(key.get(), L"HideFileExt", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
      ERROR_SUCCESS)
    return TRUE;
  return !(type == REG_DWORD && size == sizeof(value) && value == 0);
}

ZQAPI BOOL WINAPI ZqIsPowerUser(void) noexcept {
  LPCWSTR probe = ZqIsWin95() ? L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\~ZqTestLoginPrivilege"
                              : L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\~ZqTestLoginPrivilege";
  HKEY key = nullptr;
  if (RegCreateKeyW(HKEY_LOCAL_MACHINE, probe, &key) != ERROR_SUCCESS) return FALSE;
  RegCloseKey(key);
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, probe);
  return TRUE;
}
