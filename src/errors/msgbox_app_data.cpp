// The message boxes' application data: module instance, default owner,
// caption, and the UI thread the hooks belong to.
#include "core/text_copy.h"
#include "errors/msgbox_internal.h"

namespace zq::errors {
namespace {

struct AppData {
  DWORD uiThread = 0;
  HINSTANCE instance = nullptr;
  HWND owner = nullptr;
  WCHAR caption[kCaptionCapacity] = {};
};
AppData g_app;

}  // namespace

void SetAppData(HINSTANCE instance, HWND owner, const WCHAR* caption) noexcept {
  ClearHook();
  g_app.instance = instance;
  g_app.owner = owner;
  zq::core::CopyText(g_app.caption, kCaptionCapacity, caption);
  g_app.uiThread = GetCurrentThreadId();
}

HINSTANCE AppInstance() noexcept { return g_app.instance; }

const WCHAR* AppCaption() noexcept { return g_app.caption; }

bool OnUiThread() noexcept { return g_app.uiThread != 0 && g_app.uiThread == GetCurrentThreadId(); }

HWND ChooseOwner(HWND owner) noexcept {
  if (owner == reinterpret_cast<HWND>(-1)) return nullptr;
  if (owner) return owner;
  HWND fallback = g_app.owner;
  if (!fallback || !IsWindow(fallback)) return nullptr;
  return GetLastActivePopup(fallback);
}

}  // namespace zq::errors

ZQAPI BOOL WINAPI ZqMsgBoxSetAppData(HINSTANCE instance, HWND owner, LPCWSTR caption) noexcept {
  zq::errors::SetAppData(instance, owner, caption);
  return TRUE;
}
