// The message-box hook: one per process, set from the UI thread only,
// called instead of showing a box (unattended runs, tests, automation).
#include "errors/msgbox_internal.h"

namespace zq::errors {
namespace {

struct Hook {
  ZQMSGBOXHOOK function = nullptr;
  void* userData = nullptr;
};
Hook g_hook;
SRWLOCK g_hookLock = SRWLOCK_INIT;

// The built-in unattended hook; its user data is the report callback.
int CALLBACK Unattended(void* userData, HWND, const WCHAR* text, const WCHAR*, UINT style) {
  if (!OnUiThread()) return 0;
  auto report = reinterpret_cast<ZQMSGBOXREPORT>(userData);
  if (report) report(text ? text : L"");
  const int answer = UnattendedAnswer(style);
  if (answer == -1 && report) report(kInvalidParameterReport);
  return answer;
}

void Store(ZQMSGBOXHOOK function, void* userData) noexcept {
  AcquireSRWLockExclusive(&g_hookLock);
  g_hook = {function, userData};
  ReleaseSRWLockExclusive(&g_hookLock);
}

}  // namespace

bool SetHook(ZQMSGBOXHOOK hook, void* userData) noexcept {
  if (!OnUiThread()) return false;
  Store(hook, hook ? userData : nullptr);
  return true;
}

void ClearHook() noexcept { Store(nullptr, nullptr); }

bool HasHook() noexcept {
  AcquireSRWLockShared(&g_hookLock);
  const bool set = g_hook.function != nullptr;
  ReleaseSRWLockShared(&g_hookLock);
  return set;
}

bool AskHook(HWND owner, const WCHAR* text, const WCHAR* caption, UINT style, int* answer) noexcept {
  AcquireSRWLockShared(&g_hookLock);
  const Hook hook = g_hook;
  ReleaseSRWLockShared(&g_hookLock);
  if (!hook.function) return false;
  const int result = hook.function(hook.userData, owner, text ? text : L"", caption ? caption : L"", style);
  if (result == -1) return false;
  *answer = result;
  return true;
}

}  // namespace zq::errors

ZQAPI BOOL WINAPI ZqMsgBoxSetHook(ZQMSGBOXHOOK hook, LPVOID userData) noexcept {
  return zq::errors::SetHook(hook, userData) ? TRUE : FALSE;
}

ZQAPI BOOL WINAPI ZqMsgBoxSetNoUIHook(ZQMSGBOXREPORT report) noexcept {
  return zq::errors::SetHook(zq::errors::Unattended, reinterpret_cast<void*>(report)) ? TRUE : FALSE;
}
