// Self-registration: the two COM classes and the MIDI plug-in key.
#include "module/registration.h"

#include "core/module_state.h"
#include "module/registration_name.h"
#include "quillet/clsid.h"
#include "zq/registry.h"

namespace quillet {
namespace {

constexpr DWORD kPluginType = 0x102;

HRESULT RegisterPluginKey(LPCWSTR name) noexcept {
  HKEY plugins = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, QUILLET_MIDI_PLUGINS_KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &plugins, nullptr) != ERROR_SUCCESS)
    return E_FAIL;
  HKEY entry = nullptr;
  HRESULT hr = E_FAIL;
  if (RegCreateKeyExW(plugins, QUILLET_FILTER_CLSID_TEXT, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &entry,
                      nullptr) == ERROR_SUCCESS) {
    RegSetValueExW(entry, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(name),
                   static_cast<DWORD>((lstrlenW(name) + 1) * sizeof(WCHAR)));
    RegSetValueExW(entry, L"Type", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&kPluginType),
                   sizeof(kPluginType));
    RegCloseKey(entry);
    hr = S_OK;
  }
  RegCloseKey(plugins);
  return hr;
}

void UnregisterPluginKey() noexcept {
  HKEY plugins = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, QUILLET_MIDI_PLUGINS_KEY, 0, KEY_ALL_ACCESS, &plugins) != ERROR_SUCCESS)
    return;
  ZqRegDeleteKey(plugins, QUILLET_FILTER_CLSID_TEXT);
  RegCloseKey(plugins);
  // Other plug-ins may still be registered there.
  if (ZqRegGetSubKeyCount(HKEY_LOCAL_MACHINE, QUILLET_MIDI_PLUGINS_KEY, nullptr) == 0)
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, QUILLET_MIDI_PLUGINS_KEY);
}

}  // namespace

HRESULT RegisterModule(HINSTANCE instance) noexcept {
  RegistrationName name;
  HRESULT hr = ZqRegisterServer(instance, CLSID_QuilletFilter, name.text(), TRUE);
  if (SUCCEEDED(hr)) hr = RegisterPluginKey(name.text());
  if (SUCCEEDED(hr)) hr = ZqRegisterServer(instance, CLSID_QuilletPropPage, name.text(), TRUE);
  if (FAILED(hr)) {
    UnregisterModule(instance);
    return hr;
  }
  return S_OK;
}

HRESULT UnregisterModule(HINSTANCE instance) noexcept {
  if (SUCCEEDED(ZqRegisterServer(instance, CLSID_QuilletFilter, nullptr, FALSE))) UnregisterPluginKey();
  ZqRegisterServer(instance, CLSID_QuilletPropPage, nullptr, FALSE);
  return S_OK;
}

}  // namespace quillet
