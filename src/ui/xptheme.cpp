// The run-time binding to the visual-styles library: entry points looked up
// by name, class theme handles, the process-wide default record.
#include <cstring>

#include <vssym32.h>

#include "ui/theme_internal.h"
#include "zq/theme.h"

namespace zq::controls {
namespace {

const char* const kEntryNames[ZQXT_ENTRY_COUNT] = {
    "OpenThemeData", "CloseThemeData", "DrawThemeBackground", "DrawThemeText",
    "GetThemeBackgroundContentRect", "GetThemeBackgroundExtent", "GetThemePartSize", "GetThemeTextExtent",
    "GetThemeTextMetrics", "GetThemeBackgroundRegion", "HitTestThemeBackground", "DrawThemeEdge",
    "DrawThemeIcon", "IsThemePartDefined", "IsThemeBackgroundPartiallyTransparent", "GetThemeColor",
    "GetThemeMetric", "GetThemeMargins", "GetThemeString", "GetThemeBool", "GetThemeInt",
    "GetThemeEnumValue", "GetThemePosition", "GetThemeFont", "GetThemeRect", "GetThemeIntList",
    "GetThemePropertyOrigin", "SetWindowTheme", "GetThemeFilename", "GetThemeSysColor",
    "GetThemeSysColorBrush", "GetThemeSysBool", "GetThemeSysSize", "GetThemeSysFont", "GetThemeSysString",
    "GetThemeSysInt", "IsThemeActive", "IsAppThemed", "GetWindowTheme", "EnableThemeDialogTexture",
    "IsThemeDialogTextureEnabled", "GetThemeAppProperties", "SetThemeAppProperties", "GetCurrentThemeName",
    "GetThemeDocumentationProperty", "DrawThemeParentBackground", "EnableTheming",
};

const wchar_t* const kClassNames[ZQXPTHEME_CLASS_COUNT] = {
    L"Window", L"Button", L"Rebar", L"Toolbar", L"Status", L"ListView", L"Header", L"Progress", L"Tab",
    L"Trackbar", L"Tooltip", L"TreeView", L"Spin", L"Scrollbar", L"Edit", L"ComboBox", L"ExplorerBar",
};

ZQXPTHEME g_storage;           // the process-wide record controls use
ZQXPTHEME* g_default = nullptr;
bool g_wishStored = false;     // XPTheme_Default gave the record's wish

template <typename F>
F Entry(const ZQXPTHEME& record, int index) {
  return reinterpret_cast<F>(record.entries[index]);
}

HMODULE LoadThemeLibrary() {
  // From the system folder only: never a same-named file beside the host.
  wchar_t path[MAX_PATH + 16];
  const UINT length = GetSystemDirectoryW(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  wcscpy(path + length, L"\\UxTheme.dll");
  return LoadLibraryW(path);
}

void CloseHandles(ZQXPTHEME& record) {
  auto close = Entry<decltype(&CloseThemeData)>(record, ZQXT_CloseThemeData);
  for (HTHEME& theme : record.themes) {
    if (theme && close) close(theme);
    theme = nullptr;
  }
}

void OpenHandles(ZQXPTHEME& record, HWND window) {
  auto open = Entry<decltype(&OpenThemeData)>(record, ZQXT_OpenThemeData);
  for (int i = 0; i < ZQXPTHEME_CLASS_COUNT; ++i) record.themes[i] = open(window, kClassNames[i]);
}

bool ThemesOn(const ZQXPTHEME& record) {
  return Entry<decltype(&IsThemeActive)>(record, ZQXT_IsThemeActive)() &&
         (Entry<decltype(&GetThemeAppProperties)>(record, ZQXT_GetThemeAppProperties)() & STAP_ALLOW_CONTROLS);
}

// Gives back what the record holds and clears it.
void Release(ZQXPTHEME& record) {
  if (record.library) {
    CloseHandles(record);
    FreeLibrary(record.library);
  }
  std::memset(&record, 0, sizeof(record));
}

}  // namespace

ZQXPTHEME* DefaultTheme(HWND window) noexcept {
  if (!g_default) XPTheme_Initialize(&g_storage, window, g_wishStored ? FALSE : TRUE);
  return g_default;
}

bool ThemeOutdated(const ZQXPTHEME& record) noexcept {
  if (!record.library) return false;
  return (record.wanted && ThemesOn(record)) != (record.active != FALSE);
}

const ZQXPTHEME* ActiveTheme() noexcept { return g_default && g_default->active ? g_default : nullptr; }

}  // namespace zq::controls

using namespace zq::controls;

ZQAPI HRESULT WINAPI XPTheme_Initialize(ZQXPTHEME* record, HWND window, BOOL followSystem) noexcept {
  if (!record) return E_POINTER;
  const BOOL wanted = record->wanted;
  // The record may be fresh memory: only the default is known to hold
  // handles and the library.
  if (record == g_default) {
    g_default = nullptr;
    Release(*record);
  }
  std::memset(record, 0, sizeof(*record));
  record->wanted = wanted;
  record->library = LoadThemeLibrary();
  if (!record->library) {
    g_default = record;
    return ZQXPTHEME_NO_LIBRARY;
  }
  for (int i = 0; i < ZQXT_ENTRY_COUNT; ++i) {
    record->entries[i] = GetProcAddress(record->library, kEntryNames[i]);
    if (!record->entries[i]) {
      Release(*record);
      return E_UNEXPECTED;
    }
  }
  if (followSystem) {
    record->wanted = Entry<decltype(&GetThemeAppProperties)>(*record, ZQXT_GetThemeAppProperties)() != 0;
    record->active = ThemesOn(*record);
  } else if (!record->wanted) {
    Entry<decltype(&SetThemeAppProperties)>(*record, ZQXT_SetThemeAppProperties)(0);
  } else if (Entry<decltype(&IsThemeActive)>(*record, ZQXT_IsThemeActive)()) {
    Entry<decltype(&SetThemeAppProperties)>(*record, ZQXT_SetThemeAppProperties)(STAP_ALLOW_NONCLIENT |
                                                                                  STAP_ALLOW_CONTROLS |
                                                                                  STAP_ALLOW_WEBCONTENT);
    record->active = TRUE;
  }
  if (record->active) OpenHandles(*record, window);
  g_default = record;
  return ZQXPTHEME_OK;
}

ZQAPI HRESULT WINAPI XPTheme_Handle_WM_THEMECHANGED(ZQXPTHEME* record, HWND window) noexcept {
  if (!record) record = g_default;
  if (!record || !record->library) return S_OK;
  CloseHandles(*record);
  record->active = record->wanted && ThemesOn(*record);
  if (record->active) OpenHandles(*record, window);
  return S_OK;
}

ZQAPI BOOL WINAPI XPTheme_DrawFrameControl(HDC dc, const RECT* rect, UINT state) noexcept {
  if (!dc || !rect) return FALSE;
  const ZQXPTHEME* theme = g_default;
  if (theme && theme->active && theme->themes[ZQXPTHEME_BUTTON]) {
    const int part = (state & DFCS_BUTTONRADIO) ? BP_RADIOBUTTON : BP_CHECKBOX;
    const bool checked = state & DFCS_CHECKED;
    int stateId;
    if (state & DFCS_INACTIVE) stateId = checked ? 8 : 4;
    else stateId = 1 + ((state & DFCS_PUSHED) ? 2 : 0) + (checked ? 4 : 0);
    auto draw = Entry<decltype(&DrawThemeBackground)>(*theme, ZQXT_DrawThemeBackground);
    return SUCCEEDED(draw(theme->themes[ZQXPTHEME_BUTTON], dc, part, stateId, rect, nullptr));
  }
  RECT area = *rect;
  return DrawFrameControl(dc, &area, DFC_BUTTON, state);
}

ZQAPI ZQXPTHEME* WINAPI XPTheme_GetDefault(void) noexcept { return g_default; }

ZQAPI BOOL WINAPI XPTheme_Default(BOOL wanted) noexcept {
  Release(g_storage);
  g_default = nullptr;
  g_storage.wanted = wanted;
  g_wishStored = true;
  return wanted;
}

ZQAPI ZQXPTHEME* WINAPI XPTheme_Cleanup(ZQXPTHEME* record) noexcept {
  if (!g_default || !record) return g_default;
  if (record == g_default) g_default = nullptr;
  if (record == &g_storage) g_wishStored = false;  // cleared with the record
  Release(*record);
  return nullptr;
}
