// Images and cursors of a handle's module, dialog sizes, and the languages
// of the language module's version resource.
#include <string>

#include "core/module_state.h"
#include "core/text_copy.h"
#include "settings/lang_internal.h"

namespace {

// A cursor id of the system's own set (IDC_ARROW and its relatives).
bool IsSystemCursorId(LPCWSTR name) {
  if (!IS_INTRESOURCE(name)) return false;
  auto id = reinterpret_cast<ULONG_PTR>(name);
  return id >= 0x7F00 && id <= 0xFFFF;
}

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) {
  auto* list = reinterpret_cast<std::wstring*>(param);
  WCHAR abbrev[16];
  if (GetLocaleInfoW(MAKELCID(language, SORT_DEFAULT), LOCALE_SABBREVLANGNAME, abbrev, ARRAYSIZE(abbrev)) <= 0)
    abbrev[0] = 0;
  abbrev[10] = 0;  // at most 10 characters each
  try {
    if (!list->empty()) list->push_back(L',');
    list->append(abbrev);
  } catch (...) {
    return FALSE;
  }
  return TRUE;
}

}  // namespace

using namespace zq::settings;

ZQAPI HBITMAP WINAPI ZqLoadBitmap(HZQLANG lang, LPCWSTR name) noexcept {
  return LoadBitmapW(FallbackModule(lang), name);
}

ZQAPI HICON WINAPI ZqLoadIcon(HZQLANG lang, LPCWSTR name) noexcept { return LoadIconW(FallbackModule(lang), name); }

ZQAPI HANDLE WINAPI ZqLoadImage(HZQLANG lang, LPCWSTR name, UINT type, int width, int height, UINT flags) noexcept {
  return LoadImageW(FallbackModule(lang), name, type, width, height, flags);
}

ZQAPI HIMAGELIST WINAPI ZqImageList_LoadImage(HZQLANG lang, LPCWSTR name, int width, int grow, COLORREF mask,
                                              UINT type, UINT flags) noexcept {
  return ImageList_LoadImageW(FallbackModule(lang), name, width, grow, mask, type, flags);
}

ZQAPI HCURSOR WINAPI ZqLoadCursor(HZQLANG lang, LPCWSTR name) noexcept {
  if (lang) return LoadCursorW(lang->module, name);
  return LoadCursorW(IsSystemCursorId(name) ? nullptr : zq::core::ModuleInstance(), name);
}

ZQAPI BOOL WINAPI ZqGetDialogSize(HZQLANG lang, LPCWSTR name, DLGPROC proc, LPARAM param, SIZE* size) noexcept {
  HWND dialog = ZqCreateDialogParam(lang, name, GetDesktopWindow(), proc, param);
  if (!dialog) return FALSE;
  RECT rect{};
  GetWindowRect(dialog, &rect);
  DestroyWindow(dialog);
  if (size) {
    size->cx = rect.right - rect.left;
    size->cy = rect.bottom - rect.top;
  }
  return TRUE;
}

ZQAPI int WINAPI ZqEnumResourceLanguages(HZQLANG lang, UINT id, LPWSTR text, int capacity) noexcept {
  if (text && capacity > 0) text[0] = 0;
  if (!UsesLanguageModule(lang)) return 0;
  std::wstring list;
  EnumResourceLanguagesW(lang->languageModule, RT_VERSION, MAKEINTRESOURCEW(id), AddLanguage,
                         reinterpret_cast<LONG_PTR>(&list));
  zq::core::CopyText(text, capacity, list.c_str());
  return static_cast<int>(list.size());
}
