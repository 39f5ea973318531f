// COM class registration of a module under HKEY_CLASSES_ROOT\CLSID.
#include "core/text_copy.h"
#include "zq/kernel.h"
#include "zq/registry.h"

namespace {

void SetString(HKEY key, LPCWSTR name, LPCWSTR value) {
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                 static_cast<DWORD>((lstrlenW(value) + 1) * sizeof(WCHAR)));
}

// "{xxxxxxxx-...}" in `out` (40 characters).
bool BracedGuid(REFCLSID clsid, WCHAR* out, int capacity) {
  WCHAR plain[40] = {};
  ZqGuidToString(clsid, plain, ARRAYSIZE(plain));
  if (lstrlenW(plain) != 36) return false;
  out[0] = L'{';
  zq::core::CopyText(out + 1, capacity - 1, plain);
  zq::core::AppendText(out, capacity, L"}");
  return true;
}

}  // namespace

ZQAPI HRESULT WINAPI ZqRegisterServer(HINSTANCE instance, REFCLSID clsid, LPCWSTR name, BOOL reg) noexcept {
  WCHAR braced[40];
  if (!BracedGuid(clsid, braced, ARRAYSIZE(braced))) return E_FAIL;
  HKEY clsidRoot = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID", 0, KEY_ALL_ACCESS, &clsidRoot) != ERROR_SUCCESS) return E_FAIL;
  HRESULT hr = S_OK;
  if (!reg) {
    hr = ZqRegDeleteKey(clsidRoot, braced) == ERROR_SUCCESS ? S_OK : E_FAIL;
  } else {
    HKEY classKey = nullptr;
    if (RegCreateKeyExW(clsidRoot, braced, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &classKey, nullptr) !=
        ERROR_SUCCESS) {
      hr = E_FAIL;
    } else {
      SetString(classKey, nullptr, name ? name : L"");
      HKEY server = nullptr;
      if (RegCreateKeyExW(classKey, L"InProcServer32", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &server,
                          nullptr) == ERROR_SUCCESS) {
        WCHAR path[MAX_PATH + 1] = {};
        GetModuleFileNameW(instance, path, MAX_PATH);
        SetString(server, nullptr, path);
        SetString(server, L"ThreadingModel", L"Both");
        RegCloseKey(server);
      }
      RegCloseKey(classKey);
    }
  }
  RegCloseKey(clsidRoot);
  return hr;
}
