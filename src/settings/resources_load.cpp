// Resources through a language handle: the language module first (when in
// use, in the handle's language), then the handle's module.
#include <vector>

#include "settings/lang_internal.h"
#include "zq/menu.h"

namespace zq::settings {

HRSRC FindInLanguageModule(HZQLANG lang, LPCWSTR name, LPCWSTR type) noexcept {
  if (!UsesLanguageModule(lang)) return nullptr;
  return FindResourceExW(lang->languageModule, type, name, ResourceLanguage(lang));
}

const void* ResourceData(HINSTANCE module, HRSRC resource, DWORD* size) noexcept {
  if (size) *size = 0;
  if (!resource) return nullptr;
  HGLOBAL loaded = LoadResource(module, resource);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (data && size) *size = SizeofResource(module, resource);
  return data;
}

namespace {

// The module whose image holds a found resource: the language module or
// the handle's module. A resource handle is an address inside the image it
// was found in; loading it against the other module would read the wrong
// bytes.
HINSTANCE OwnerOf(HZQLANG lang, HRSRC resource) noexcept {
  if (lang->languageModule) {
    MEMORY_BASIC_INFORMATION info;
    if (VirtualQuery(resource, &info, sizeof(info)) &&
        static_cast<HINSTANCE>(info.AllocationBase) == lang->languageModule)
      return lang->languageModule;
  }
  return lang->module;
}

// An accelerator resource entry.
struct AccelEntry {
  WORD flags;  // FVIRTKEY etc.; 0x80 marks the last entry
  WORD key;
  WORD command;
  WORD padding;
};

HACCEL AcceleratorsFrom(HINSTANCE module, HRSRC resource) noexcept {
  DWORD size = 0;
  auto* entries = static_cast<const AccelEntry*>(ResourceData(module, resource, &size));
  if (!entries) return nullptr;
  try {
    std::vector<ACCEL> table;
    for (DWORD i = 0; i < size / sizeof(AccelEntry); ++i) {
      table.push_back({static_cast<BYTE>(entries[i].flags & 0x7F), entries[i].key, entries[i].command});
      if (entries[i].flags & 0x80) break;
    }
    if (table.empty()) return nullptr;
    return CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
  } catch (...) {
    return nullptr;
  }
}

}  // namespace
}  // namespace zq::settings

using namespace zq::settings;

ZQAPI HWND WINAPI ZqCreateDialogParam(HZQLANG lang, LPCWSTR name, HWND parent, DLGPROC proc,
                                      LPARAM param) noexcept {
  if (!lang) return nullptr;
  HRSRC found = FindInLanguageModule(lang, name, RT_DIALOG);
  if (auto* dialog = static_cast<LPCDLGTEMPLATEW>(ResourceData(lang->languageModule, found, nullptr))) {
    if (HWND window = CreateDialogIndirectParamW(lang->languageModule, dialog, parent, proc, param))
      return window;
  }
  return CreateDialogParamW(lang->module, name, parent, proc, param);
}

ZQAPI HWND WINAPI ZqCreateDialogIndirectParam(HZQLANG lang, LPCDLGTEMPLATEW dialogTemplate, HWND parent,
                                              DLGPROC proc, LPARAM param) noexcept {
  if (!lang || !dialogTemplate) return nullptr;
  if (UsesLanguageModule(lang)) {
    if (HWND window = CreateDialogIndirectParamW(lang->languageModule, dialogTemplate, parent, proc, param))
      return window;
  }
  return CreateDialogIndirectParamW(lang->module, dialogTemplate, parent, proc, param);
}

ZQAPI INT_PTR WINAPI ZqDialogBoxParam(HZQLANG lang, LPCWSTR name, HWND parent, DLGPROC proc,
                                      LPARAM param) noexcept {
  if (!lang) return -1;
  HRSRC found = FindInLanguageModule(lang, name, RT_DIALOG);
  if (auto* dialog = static_cast<LPCDLGTEMPLATEW>(ResourceData(lang->languageModule, found, nullptr))) {
    INT_PTR result = DialogBoxIndirectParamW(lang->languageModule, dialog, parent, proc, param);
    if (result != -1) return result;
  }
  return DialogBoxParamW(lang->module, name, parent, proc, param);
}

ZQAPI INT_PTR WINAPI ZqDialogBoxIndirectParam(HZQLANG lang, LPCDLGTEMPLATEW dialogTemplate, HWND parent,
                                              DLGPROC proc, LPARAM param) noexcept {
  if (!lang || !dialogTemplate) return -1;
  return DialogBoxIndirectParamW(lang->module, dialogTemplate, parent, proc, param);
}

// Tables from the language module are built from the resource's entries
// (their count follows from its size).
ZQAPI HACCEL WINAPI ZqLoadAccelerators(HZQLANG lang, LPCWSTR name) noexcept {
  if (!lang) return nullptr;
  if (HACCEL table = AcceleratorsFrom(lang->languageModule, FindInLanguageModule(lang, name, RT_ACCELERATOR)))
    return table;
  return LoadAcceleratorsW(lang->module, name);
}

ZQAPI HMENU WINAPI ZqLoadMenu(HZQLANG lang, LPCWSTR name) noexcept {
  if (!lang) return nullptr;
  HMENU menu = nullptr;
  HRSRC found = FindInLanguageModule(lang, name, RT_MENU);
  if (const void* data = ResourceData(lang->languageModule, found, nullptr))
    menu = LoadMenuIndirectW(static_cast<const MENUTEMPLATEW*>(data));
  if (!menu) menu = LoadMenuW(lang->module, name);
  if (menu) StripMenuMarkers(menu);
  return menu;
}

ZQAPI HGLOBAL WINAPI ZqLoadResourceCustom(HZQLANG lang, LPCWSTR name, LPCWSTR type, DWORD* size) noexcept {
  if (size) *size = 0;
  if (!lang) return nullptr;
  HINSTANCE module = lang->languageModule;
  HRSRC found = FindInLanguageModule(lang, name, type);
  if (!found) {
    module = lang->module;
    found = FindResourceW(module, name, type);
  }
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  if (loaded && size) *size = SizeofResource(module, found);
  return loaded;
}

ZQAPI HRSRC WINAPI ZqFindResource(HZQLANG lang, LPCWSTR name, LPCWSTR type) noexcept {
  if (!lang) return nullptr;
  if (HRSRC found = FindInLanguageModule(lang, name, type)) return found;
  return FindResourceW(lang->module, name, type);
}

ZQAPI HRSRC WINAPI ZqFindResourceMulti(HZQLANG lang, LPCWSTR name, const LPCWSTR* types, int count,
                                       int* index) noexcept {
  if (index) *index = -1;
  if (!lang || !types || count <= 0) return nullptr;
  if (UsesLanguageModule(lang)) {
    for (int i = 0; i < count; ++i) {
      if (HRSRC found = FindInLanguageModule(lang, name, types[i])) {
        if (index) *index = i;
        return found;
      }
    }
  }
  for (int i = 0; i < count; ++i) {
    if (HRSRC found = FindResourceW(lang->module, name, types[i])) {
      if (index) *index = i;
      return found;
    }
  }
  return nullptr;
}

ZQAPI HGLOBAL WINAPI ZqLoadResource(HZQLANG lang, HRSRC resource) noexcept {
  if (!lang || !resource) return nullptr;
  return LoadResource(OwnerOf(lang, resource), resource);
}

ZQAPI DWORD WINAPI ZqSizeofResource(HZQLANG lang, HRSRC resource) noexcept {
  if (!lang || !resource) return 0;
  return SizeofResource(OwnerOf(lang, resource), resource);
}

ZQAPI HINSTANCE WINAPI ZqFindResInstance(HZQLANG lang, LPCWSTR name, LPCWSTR type) noexcept {
  if (!lang) return nullptr;
  return FindInLanguageModule(lang, name, type) ? lang->languageModule : lang->module;
}
