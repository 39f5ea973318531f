#include "errors/show_message.h"

#include <wchar.h>

#include <memory>
#include <new>

#include "core/text_copy.h"
#include "zq/errors.h"

namespace zq::errors {
namespace {

struct Hook {
  ShowMessageHook function = nullptr;
  void* context = nullptr;
};
Hook g_hook;
SRWLOCK g_hookLock = SRWLOCK_INIT;

const WCHAR kNoCaption[1] = {0};

// The system box has no details area: the details follow the text after a
// blank line, and the details bits (help button and no-focus to the
// system) are cleared.
int SystemBox(HWND owner, const WCHAR* text, const WCHAR* caption, UINT style, const WCHAR* details) noexcept {
  if (owner == reinterpret_cast<HWND>(-1)) owner = nullptr;
  style &= ~static_cast<UINT>(ZQ_MB_DETAILS);
  if (caption && !*caption) caption = nullptr;
  if (!details || !*details) return MessageBoxW(owner, text, caption, style);
  const size_t capacity = wcslen(text) + 4 + wcslen(details) + 1;
  std::unique_ptr<WCHAR[]> both(new (std::nothrow) WCHAR[capacity]);
  if (!both) return MessageBoxW(owner, text, caption, style);
  const int room = static_cast<int>(capacity);
  zq::core::CopyText(both.get(), room, text);
  zq::core::AppendText(both.get(), room, L"\r\n\r\n");
  zq::core::AppendText(both.get(), room, details);
  return MessageBoxW(owner, both.get(), caption, style);
}

}  // namespace

void SetShowMessageHook(ShowMessageHook hook, void* context) noexcept {
  AcquireSRWLockExclusive(&g_hookLock);
  g_hook = {hook, context};
  ReleaseSRWLockExclusive(&g_hookLock);
}

const WCHAR* ApplicationCaption() noexcept { return kNoCaption; }

int ShowMessage(HWND owner, const WCHAR* text, const WCHAR* caption, UINT style, const WCHAR* details) noexcept {
  AcquireSRWLockShared(&g_hookLock);
  Hook hook = g_hook;
  ReleaseSRWLockShared(&g_hookLock);
  if (!text) text = L"";
  if (!caption) caption = ApplicationCaption();
  if (hook.function) return hook.function(hook.context, owner, text, caption, style, details);
  return SystemBox(owner, text, caption, style, details);
}

}  // namespace zq::errors
