// Window conveniences: the previous instance of an application, copies of
// global blocks, window classes, OLE initialisation and empty toolbars.
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

#include "zq/lang.h"
#include "zq/window.h"

namespace {

struct OleState {
  bool initialised = false;
  BOOL result = FALSE;
};
OleState g_ole;

}  // namespace

ZQAPI HWND WINAPI ZqActivatePrevAppInstance(LPCWSTR className) noexcept {
  if (!className) return nullptr;
  HWND window = FindWindowW(className, nullptr);
  if (!window) return nullptr;
  HWND popup = GetLastActivePopup(window);
  if (!popup) popup = window;
  if (IsIconic(window)) {
    ShowWindow(popup, SW_RESTORE);
  } else {
    BringWindowToTop(window);
    SetForegroundWindow(popup);
  }
  return window;
}

ZQAPI HGLOBAL WINAPI ZqCopyHandle(HGLOBAL memory) noexcept {
  if (!memory) return nullptr;
  const SIZE_T size = GlobalSize(memory);
  const void* source = GlobalLock(memory);
  if (!source) return nullptr;
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
  if (void* target = copy ? GlobalLock(copy) : nullptr) {
    CopyMemory(target, source, size);
    GlobalUnlock(copy);
  } else if (copy) {
    GlobalFree(copy);
    copy = nullptr;
  }
  GlobalUnlock(memory);
  return copy;
}

ZQAPI ATOM WINAPI ZqRegisterClass(const WNDCLASSW* windowClass) noexcept {
  return windowClass ? RegisterClassW(windowClass) : 0;
}

ZQAPI BOOL WINAPI ZqUnregisterClass(LPCWSTR name, HINSTANCE instance) noexcept {
  WNDCLASSW found;
  if (!name || !GetClassInfoW(instance, name, &found)) return FALSE;
  return UnregisterClassW(name, instance);
}

ZQAPI BOOL WINAPI ZqOleInit(BOOL initialise) noexcept {
  if (initialise) {
    if (!g_ole.initialised) {
      g_ole.result = SUCCEEDED(OleInitialize(nullptr));
      g_ole.initialised = true;
    }
    return g_ole.result;
  }
  if (!g_ole.initialised) return FALSE;
  if (g_ole.result) OleUninitialize();
  g_ole = OleState{};
  return TRUE;
}

ZQAPI HWND WINAPI ZqCreateToolbarEmpty(HZQLANG lang, HWND parent, DWORD style, UINT id) noexcept {
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, style, 0, 0, 0, 0, parent,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ZqLang_InstFromLang(lang),
                                 nullptr);
  if (toolbar) SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  return toolbar;
}

ZQAPI BOOL WINAPI ZqGetToolbarSize(HWND toolbar, SIZE* size) noexcept {
  if (!size) return FALSE;
  size->cx = size->cy = 0;
  if (!toolbar || !IsWindow(toolbar)) return FALSE;
  const int count = static_cast<int>(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    TBBUTTON button{};
    RECT rect;
    if (!SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)) ||
        (button.fsState & TBSTATE_HIDDEN) ||
        !SendMessageW(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rect)))
      continue;
    size->cx += rect.right - rect.left;
    if (rect.bottom - rect.top > size->cy) size->cy = rect.bottom - rect.top;
  }
  return TRUE;
}
