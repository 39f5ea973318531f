// The system message box with the application's caption, a sensible owner,
// the hook, and centring on the owner or its monitor.
#include <wchar.h>

#include <memory>
#include <new>

#include "errors/msgbox_internal.h"
#include "errors/msgbox_monitor_centre.h"

namespace zq::errors {
namespace {

constexpr UINT kSystemModalStop = MB_SYSTEMMODAL | MB_ICONHAND;  // shown as the system places it

// The centring hook: at most one at a time, on the thread that shows the box.
HHOOK g_centringHook = nullptr;
const WCHAR* g_centringCaption = nullptr;
LONG g_centringActive = 0;

bool TitleIs(HWND window, const WCHAR* caption) noexcept {
  const int length = GetWindowTextLengthW(window);
  if (length != static_cast<int>(wcslen(caption))) return false;
  std::unique_ptr<WCHAR[]> title(new (std::nothrow) WCHAR[length + 1]);
  if (!title) return false;
  GetWindowTextW(window, title.get(), length + 1);
  return wcscmp(title.get(), caption) == 0;
}

bool IsTheBox(HWND window) noexcept {
  WCHAR className[16];
  if (!GetClassNameW(window, className, 16) || wcscmp(className, L"#32770") != 0) return false;
  return g_centringCaption && TitleIs(window, g_centringCaption);
}

void RemoveCentringHook() noexcept {
  if (g_centringHook) UnhookWindowsHookEx(g_centringHook);
  g_centringHook = nullptr;
  g_centringCaption = nullptr;
  InterlockedExchange(&g_centringActive, 0);
}

// Watches the dialogs the thread creates. The box places itself while it
// initialises; once that is done (and before it is shown) the first dialog
// with the box's caption is centred, and the hook goes.
LRESULT CALLBACK WatchBoxCreation(int code, WPARAM wParam, LPARAM lParam) {
  const LRESULT next = CallNextHookEx(g_centringHook, code, wParam, lParam);
  if (code == HC_ACTION) {
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (message->message == WM_INITDIALOG && IsTheBox(message->hwnd)) {
      CentreWindow(message->hwnd, GetWindow(message->hwnd, GW_OWNER));
      RemoveCentringHook();
    }
  }
  return next;
}

// Null when another centring hook is active or none can be installed.
HHOOK InstallCentringHook(const WCHAR* caption) noexcept {
  if (InterlockedCompareExchange(&g_centringActive, 1, 0) != 0) return nullptr;
  g_centringCaption = caption;
  g_centringHook = SetWindowsHookExW(WH_CALLWNDPROCRET, WatchBoxCreation, nullptr, GetCurrentThreadId());
  HHOOK installed = g_centringHook;
  if (!installed) RemoveCentringHook();
  return installed;
}

bool IsLibraryButtonSet(UINT style) noexcept {
  const UINT set = style & ZQ_MB_BUTTONSET_MASK;
  return set >= ZQ_MB_YESYESALLNOCANCEL && set <= ZQ_MB_YESYESALLNONOALLCANCEL;
}

}  // namespace

int SystemBox(HWND owner, const WCHAR* text, const WCHAR* caption, UINT style) noexcept {
  if (!text) text = L"";
  // The system box has no such buttons: the library's box shows them (the
  // high bits keep their system meaning here, so no check box or details).
  if (IsLibraryButtonSet(style))
    return CustomBox({owner, style & ~static_cast<UINT>(ZQ_MB_CHECKBOX_MASK | ZQ_MB_DETAILS), text, nullptr,
                      nullptr, nullptr, caption});

  owner = ChooseOwner(owner);
  if (!caption) caption = AppCaption();
  int answer;
  if (AskHook(owner, text, caption, style, &answer)) return answer;

  HHOOK centring = style != kSystemModalStop ? InstallCentringHook(caption) : nullptr;
  const int result = MessageBoxW(owner, text, caption, style);
  if (centring && g_centringHook == centring) RemoveCentringHook();  // the box never came
  return result;
}

}  // namespace zq::errors

using zq::errors::FormattedText;

ZQAPI int WINAPI ZqMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style) noexcept {
  return zq::errors::SystemBox(owner, text, caption, style);
}

ZQAPI int ZQCDECL ZqMsgBox(HWND owner, UINT style, LPCWSTR format, ...) noexcept {
  va_list args;
  va_start(args, format);
  const FormattedText text(format, args);
  va_end(args);
  return zq::errors::SystemBox(owner, text.Text(), nullptr, style);
}

ZQAPI int ZQCDECL ZqMsgBoxId(HZQLANG lang, HWND owner, UINT style, UINT id, ...) noexcept {
  va_list args;
  va_start(args, id);
  const FormattedText text(zq::errors::LangText(lang, id), args);
  va_end(args);
  return zq::errors::SystemBox(owner, text.Text(), nullptr, style);
}
