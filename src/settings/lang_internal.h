// Language handles inside the library: which module a lookup goes to, and
// the small helpers the string, resource and menu files share.
#pragma once
#include "core/lang_handle.h"
#include "zq/lang.h"

namespace zq::settings {

// True when lookups try the handle's language module first.
inline bool UsesLanguageModule(HZQLANG lang) noexcept {
  return lang && lang->useLanguageModule && lang->languageModule;
}
// The resource language of the handle (the low 16 bits of its LCID).
inline WORD ResourceLanguage(HZQLANG lang) noexcept { return LANGIDFROMLCID(lang->language); }
// The fallback module; null for a null handle.
inline HINSTANCE FallbackModule(HZQLANG lang) noexcept { return lang ? lang->module : nullptr; }

// The resource in the language module, in the handle's language; null when
// the language module is not in use or lacks it.
HRSRC FindInLanguageModule(HZQLANG lang, LPCWSTR name, LPCWSTR type) noexcept;
// The data of a resource found in `module` and its size; null on failure.
const void* ResourceData(HINSTANCE module, HRSRC resource, DWORD* size) noexcept;

// The language module's file name for `moduleFile`: everything after the
// last "." of the file name becomes "LNG" (".LNG" is appended when the name
// has no "."). False when the result does not fit `capacity`.
bool LanguageModulePath(const WCHAR* moduleFile, WCHAR* path, int capacity) noexcept;

// Removes a leading "^*" from `text` (its length `length`); returns the new length.
int StripMarker(WCHAR* text, int length) noexcept;
// Removes the "^*" marker from every command text inside the menu's pop-ups.
void StripMenuMarkers(HMENU menu) noexcept;

// The module's language id for help-file names ("ENU" until set).
const WCHAR* LanguageIdText() noexcept;

}  // namespace zq::settings
