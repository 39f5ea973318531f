// Registry helpers shared by registration and the settings store.
#pragma once
#include "zq/base.h"

// Registers (reg != 0) or removes a COM class served by the module `instance`:
// HKCR\CLSID\{clsid} = name, InProcServer32 = module path, ThreadingModel "Both".
ZQAPI HRESULT WINAPI ZqRegisterServer(HINSTANCE instance, REFCLSID clsid, LPCWSTR name, BOOL reg) ZQ_NOTHROW;
// Deletes a key with all its sub-keys; the result of the final RegDeleteKeyW.
ZQAPI LONG WINAPI ZqRegDeleteKey(HKEY root, LPCWSTR subKey) ZQ_NOTHROW;
// Number of sub-keys, or -1 when the key cannot be opened for reading.
ZQAPI LONG WINAPI ZqRegGetSubKeyCount(HKEY root, LPCWSTR subKey, DWORD* longestName) ZQ_NOTHROW;
