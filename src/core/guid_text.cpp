// GUIDs as text: lower-case hexadecimal groups, no braces.
#include <cwchar>

#include "core/text_copy.h"
#include "zq/kernel.h"

ZQAPI HRESULT WINAPI ZqGuidToString(REFGUID guid, LPWSTR text, int capacity) noexcept {
  WCHAR local[40];
  swprintf(local, 40, L"%08lx-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x", guid.Data1, guid.Data2,
           guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4],
           guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  zq::core::CopyText(text, capacity, local);
  return S_OK;
}

ZQAPI HRESULT WINAPI ZqGuidFromString(LPCWSTR text, GUID* guid) noexcept {
  if (!text || !guid) return E_POINTER;
  unsigned int f[11] = {};
  int fields = swscanf(text, L"%08x-%04x-%04x-%04x-%02x%02x%02x%02x%02x%02x", &f[0], &f[1], &f[2], &f[3],
                       &f[4], &f[5], &f[6], &f[7], &f[8], &f[9]);
  if (fields != 10) return E_FAIL;
  guid->Data1 = f[0];
  guid->Data2 = static_cast<WORD>(f[1]);
  guid->Data3 = static_cast<WORD>(f[2]);
  guid->Data4[0] = static_cast<BYTE>(f[3] >> 8);
  guid->Data4[1] = static_cast<BYTE>(f[3]);
  for (int i = 0; i < 6; ++i) guid->Data4[2 + i] = static_cast<BYTE>(f[4 + i]);
  return S_OK;
}
