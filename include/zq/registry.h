/// @file
/// Registry helpers shared by registration and the settings store.
#pragma once
#include "zq/base.h"

/// Registers (reg != 0) or removes a COM class served by the module `instance`:
/// `HKCR\CLSID\{clsid}` = name, InProcServer32 = module path, ThreadingModel "Both".
ZQAPI HRESULT WINAPI ZqRegisterServer(HINSTANCE instance, REFCLSID clsid, LPCWSTR name, BOOL reg) ZQ_NOTHROW;
/// Deletes a key with all its sub-keys; the result of the final RegDeleteKeyW.
ZQAPI LONG WINAPI ZqRegDeleteKey(HKEY root, LPCWSTR subKey) ZQ_NOTHROW;
/// Number of sub-keys, or -1 when the key cannot be opened for reading.
ZQAPI LONG WINAPI ZqRegGetSubKeyCount(HKEY root, LPCWSTR subKey, DWORD* longestName) ZQ_NOTHROW;
/// 0 only when Explorer is set to show file extensions (the number 0 in
/// "HideFileExt" of HKCU `...\Explorer\Advanced`); 1 otherwise.
ZQAPI BOOL WINAPI ZqIsExplorerFileExtHidden(void) ZQ_NOTHROW;
/// 1 when the caller may write machine-wide settings (probed by creating
/// and deleting a key under HKEY_LOCAL_MACHINE), else 0.
ZQAPI BOOL WINAPI ZqIsPowerUser(void) ZQ_NOTHROW;

/// Self-registration of other modules. S_OK when the module's version
/// information declares "OLESelfRegister"; E_FAIL without version
/// information, E_NOTIMPL without the entry.
ZQAPI HRESULT WINAPI ZqSelfRegister_IsSupported(LPCWSTR modulePath) ZQ_NOTHROW;
/// Loads the module and returns the result of its DllRegisterServer (or
/// DllUnregisterServer when `unregister` is non-zero).
ZQAPI HRESULT WINAPI ZqSelfRegister_Register(LPCWSTR modulePath, BOOL unregister) ZQ_NOTHROW;
