#include "errors/show_message.h"

#include "errors/msgbox_internal.h"
#include "zq/errors.h"

namespace zq::errors {
namespace {

struct Hook {
  ShowMessageHook function = nullptr;
  void* context = nullptr;
};
Hook g_hook;
SRWLOCK g_hookLock = SRWLOCK_INIT;

}  // namespace

void SetShowMessageHook(ShowMessageHook hook, void* context) noexcept {
  AcquireSRWLockExclusive(&g_hookLock);
  g_hook = {hook, context};
  ReleaseSRWLockExclusive(&g_hookLock);
}

const WCHAR* ApplicationCaption() noexcept { return AppCaption(); }

int ShowMessage(HWND owner, const WCHAR* text, const WCHAR* caption, UINT style, const WCHAR* details) noexcept {
  AcquireSRWLockShared(&g_hookLock);
  Hook hook = g_hook;
  ReleaseSRWLockShared(&g_hookLock);
  if (!text) text = L"";
  if (!caption) caption = ApplicationCaption();
  if (hook.function) return hook.function(hook.context, owner, text, caption, style, details);

  // The library's box, text and details as written. A details bit without
  // details, or the check-box bits (nobody here could read the state), would
  // stop the box from showing: they are dropped.
  if (!details) style &= ~static_cast<UINT>(ZQ_MB_DETAILS);
  style &= ~static_cast<UINT>(ZQ_MB_CHECKBOX_MASK);
  return CustomBox({owner, style, text, details, nullptr, nullptr, caption});
}

}  // namespace zq::errors
