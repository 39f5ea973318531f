// The stored user language ("ULangID") of an application and the shared
// "Locale" value.
#include <string>

#include "settings/lang_internal.h"

namespace {

constexpr WCHAR kSharedKey[] = L"Software\\Halvane\\Shared Information";

// "Software\Halvane\<application>\<major>.<minor>\Lang"; empty on failure.
std::wstring LangKeyPath(LPCWSTR application, DWORD version) noexcept {
  try {
    std::wstring path = L"Software\\Halvane\\";
    path += application;
    path += L'\\' + std::to_wstring((version >> 24) & 0xFF) + L'.' + std::to_wstring((version >> 16) & 0xFF) +
            L"\\Lang";
    return path;
  } catch (...) {
    return std::wstring();
  }
}

bool ReadDword(HKEY root, const WCHAR* path, const WCHAR* name, DWORD* value) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  DWORD type = 0, data = 0, size = sizeof(data);
  LONG status = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(data)) return false;
  *value = data;
  return true;
}

bool WriteDword(HKEY root, const WCHAR* path, const WCHAR* name, DWORD value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  LONG status = RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

}  // namespace

ZQAPI BOOL WINAPI ZqLang_LoadUserLCIDMetric(LPCWSTR application, DWORD version, LCID* lcid) noexcept {
  if (!application || !*application || !lcid) return FALSE;
  std::wstring path = LangKeyPath(application, version);
  DWORD stored = 0;
  if (path.empty() || !ReadDword(HKEY_LOCAL_MACHINE, path.c_str(), L"ULangID", &stored)) return FALSE;
  // The primary language with its default sub-language.
  *lcid = (stored & 0x3FF) | 0x400;
  return TRUE;
}

ZQAPI BOOL WINAPI ZqLang_SaveUserLCIDMetric(LPCWSTR application, DWORD version, LCID lcid) noexcept {
  if (!application || !*application) return FALSE;
  std::wstring path = LangKeyPath(application, version);
  return !path.empty() && WriteDword(HKEY_LOCAL_MACHINE, path.c_str(), L"ULangID", lcid & 0xFFFF);
}

ZQAPI LCID WINAPI ZqGetLocale(void) noexcept {
  DWORD value = 0;
  return ReadDword(HKEY_LOCAL_MACHINE, kSharedKey, L"Locale", &value) ? value : 0;
}

ZQAPI HRESULT WINAPI ZqSetLocale(LCID lcid) noexcept {
  return WriteDword(HKEY_LOCAL_MACHINE, kSharedKey, L"Locale", lcid) ? S_OK : E_FAIL;
}
