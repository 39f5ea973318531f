// Showing an error: the message, the details lines, the warning prefix.
#include <wchar.h>

#include <memory>
#include <new>

#include "core/text_copy.h"
#include "errors/errors_ids.h"
#include "errors/errors_internal.h"
#include "errors/show_message.h"
#include "zq/errors.h"

namespace zq::errors {

int ShowErrorText(HWND owner, UINT style, const WCHAR* text, BOOL warning) noexcept {
  if (!text) text = L"";
  WCHAR prefix[kWarningCapacity];
  zq::core::CopyText(prefix, kWarningCapacity, LibraryText(IDS_ERR_WARNING_PREFIX));

  style &= ~static_cast<UINT>(ZQ_MB_DETAILS);
  std::unique_ptr<WCHAR[]> details(new (std::nothrow) WCHAR[kDetailsCopyCapacity]);
  if (details && CopyDetails(details.get(), kDetailsCopyCapacity) > 0) style |= ZQ_MB_DETAILS;
  else details.reset();

  // The text is shown as it stands: a "%" or "$" in it (a file name put
  // into the message) is never read as a directive.
  std::unique_ptr<WCHAR[]> prefixed;
  const WCHAR* shown = text;
  if (warning) {
    const size_t capacity = wcslen(prefix) + wcslen(text) + 1;
    prefixed.reset(new (std::nothrow) WCHAR[capacity]);
    if (prefixed) {
      zq::core::CopyText(prefixed.get(), static_cast<int>(capacity), prefix);
      zq::core::AppendText(prefixed.get(), static_cast<int>(capacity), text);
      shown = prefixed.get();
    }
  }

  ResetDetails();
  return ShowMessage(owner, shown, nullptr, style, details.get());
}

}  // namespace zq::errors

using namespace zq::errors;

ZQAPI int WINAPI ZqErrorHandler_MsgBoxText(HWND owner, UINT style, LPCWSTR text, BOOL warning) noexcept {
  return ShowErrorText(owner, style, text, warning);
}

ZQAPI int WINAPI ZqErrorHandler_MsgBox(HWND owner, UINT style, LPCWSTR message, HRESULT code, LPCWSTR argument,
                                       BOOL warning) noexcept {
  if (code == ZQ_E_CANCELLED) return IDOK;
  return ShowErrorText(owner, style, ComposeErrorMessage(message, code, argument), warning);
}
