// A minimal in-process COM server used by the self-registration tests.
// TEST_MODULE_VARIANT selects which of the test modules this is:
//   1 declares self-registration and has the entry points,
//   2 has the entry points but does not declare self-registration,
//   3 declares self-registration but has no entry points.
#include <windows.h>

#include "test_module_ids.h"

#if TEST_MODULE_VARIANT != 3

namespace {

HINSTANCE g_instance = nullptr;

#if TEST_MODULE_VARIANT == 1
constexpr const wchar_t* kClassKey = kSelfRegClassKey;
#else
constexpr const wchar_t* kClassKey = kPlainClassKey;
#endif

bool SetString(HKEY key, const wchar_t* name, const wchar_t* value) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                        static_cast<DWORD>((lstrlenW(value) + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) g_instance = instance;
  return TRUE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllRegisterServer() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(g_instance, path, MAX_PATH);
  HKEY classKey = nullptr, server = nullptr;
  if (RegCreateKeyW(HKEY_CLASSES_ROOT, kClassKey, &classKey) != ERROR_SUCCESS) return kSelfRegClassError;
  bool ok = SetString(classKey, nullptr, L"Quillet test module") &&
            RegCreateKeyW(classKey, L"InProcServer32", &server) == ERROR_SUCCESS;
  if (server) {
    ok = SetString(server, nullptr, path) && SetString(server, L"ThreadingModel", L"Both") && ok;
    RegCloseKey(server);
  }
  RegCloseKey(classKey);
  return ok ? S_OK : kSelfRegClassError;
}

// Removing a class that is not registered is the module's own error.
extern "C" __declspec(dllexport) HRESULT WINAPI DllUnregisterServer() {
  HKEY classKey = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kClassKey, 0, KEY_ALL_ACCESS, &classKey) != ERROR_SUCCESS)
    return kSelfRegClassError;
  RegDeleteKeyW(classKey, L"InProcServer32");
  RegCloseKey(classKey);
  return RegDeleteKeyW(HKEY_CLASSES_ROOT, kClassKey) == ERROR_SUCCESS ? S_OK : kSelfRegClassError;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllGetClassObject(const void*, const void*, void** out) {
  if (out) *out = nullptr;
  return kClassNotAvailable;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllCanUnloadNow() { return S_OK; }

#else

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, void*) { return TRUE; }
// Something to export, so that the module is a plain DLL without the COM entries.
extern "C" __declspec(dllexport) int WINAPI TestModuleVariant() { return TEST_MODULE_VARIANT; }

#endif
