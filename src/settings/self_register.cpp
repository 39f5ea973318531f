// Self-registration of other modules: modules that declare
// "OLESelfRegister" in their version information are loaded and asked to
// register (or unregister) themselves.
#include <memory>
#include <new>

#include "core/text_copy.h"
#include "zq/registry.h"

namespace {

struct Translation {
  WORD language;
  WORD codePage;
};

// Four upper-case hexadecimal digits of `value` appended to `text`.
void AppendHexWord(WCHAR* text, int capacity, WORD value) {
  static constexpr WCHAR kDigits[] = L"0123456789ABCDEF";
  WCHAR digits[5];
  for (int i = 3; i >= 0; --i, value >>= 4) digits[i] = kDigits[value & 0xF];
  digits[4] = 0;
  zq::core::AppendText(text, capacity, digits);
}

}  // namespace

ZQAPI HRESULT WINAPI ZqSelfRegister_IsSupported(LPCWSTR modulePath) noexcept {
  if (!modulePath) return E_POINTER;
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(modulePath, &ignored);
  if (!size) return E_FAIL;
  std::unique_ptr<BYTE[]> info(new (std::nothrow) BYTE[size]);
  if (!info) return E_NOTIMPL;
  if (!GetFileVersionInfoW(modulePath, 0, size, info.get())) return E_FAIL;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(info.get(), L"\\VarFileInfo\\Translation", &value, &length) || !value ||
      length < sizeof(Translation))
    return E_NOTIMPL;
  const Translation first = *static_cast<const Translation*>(value);
  WCHAR query[64];
  zq::core::CopyText(query, ARRAYSIZE(query), L"\\StringFileInfo\\");
  AppendHexWord(query, ARRAYSIZE(query), first.language);
  AppendHexWord(query, ARRAYSIZE(query), first.codePage);
  zq::core::AppendText(query, ARRAYSIZE(query), L"\\OLESelfRegister");
  value = nullptr;
  return VerQueryValueW(info.get(), query, &value, &length) && value ? S_OK : E_NOTIMPL;
}

ZQAPI HRESULT WINAPI ZqSelfRegister_Register(LPCWSTR modulePath, BOOL unregister) noexcept {
  HRESULT hr = ZqSelfRegister_IsSupported(modulePath);
  if (hr != S_OK) return hr;
  UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryExW(modulePath, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  SetErrorMode(oldMode);
  if (!module) return E_FAIL;
  using Entry = HRESULT(STDAPICALLTYPE*)();
  auto entry = reinterpret_cast<Entry>(GetProcAddress(module, unregister ? "DllUnregisterServer" : "DllRegisterServer"));
  hr = entry ? entry() : E_NOTIMPL;
  FreeLibrary(module);
  return hr;
}
