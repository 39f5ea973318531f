// What the self-registration test modules write, shared with the tests.
#pragma once
#include <windows.h>

// Relative to HKEY_CLASSES_ROOT.
constexpr const wchar_t* kSelfRegClassKey = L"CLSID\\{6F1C2A90-3B7D-4E58-9A21-5C0D7E3B8F41}";
constexpr const wchar_t* kPlainClassKey = L"CLSID\\{6F1C2A90-3B7D-4E58-9A21-5C0D7E3B8F42}";
constexpr HRESULT kSelfRegClassError = static_cast<HRESULT>(0x80040201L);  // SELFREG_E_CLASS
constexpr HRESULT kClassNotAvailable = static_cast<HRESULT>(0x80040111L);  // CLASS_E_CLASSNOTAVAILABLE

constexpr const wchar_t* kSelfRegModule = L"settings_selfreg_module.dll";
constexpr const wchar_t* kPlainModule = L"settings_plain_module.dll";
constexpr const wchar_t* kNoEntryModule = L"settings_noentry_module.dll";
