// The library's message box: requirements, owner, hook, then the dialog.
#include <wchar.h>

#include <memory>
#include <new>

#include "core/module_state.h"
#include "core/text_copy.h"
#include "errors/errors_internal.h"
#include "errors/msgbox_ids.h"
#include "errors/msgbox_internal.h"

namespace zq::errors {
namespace {

bool HasCheckBox(UINT style) noexcept { return (style & ZQ_MB_CHECKBOX_MASK) == ZQ_MB_CHECKBOX; }

// What a hook reads for a box with details: the message, the details between
// their two markers. Null when it cannot be allocated.
std::unique_ptr<WCHAR[]> TextWithDetails(const WCHAR* text, const WCHAR* details) noexcept {
  const WCHAR* start = LibraryText(IDS_MB_DETAILS_START);
  const WCHAR* end = LibraryText(IDS_MB_DETAILS_END);
  const size_t capacity = wcslen(text) + wcslen(start) + wcslen(details) + wcslen(end) + 1;
  if (capacity > 0x7FFFFFFF) return nullptr;
  std::unique_ptr<WCHAR[]> both(new (std::nothrow) WCHAR[capacity]);
  if (!both) return nullptr;
  const int room = static_cast<int>(capacity);
  zq::core::CopyText(both.get(), room, text);
  zq::core::AppendText(both.get(), room, start);
  zq::core::AppendText(both.get(), room, details);
  zq::core::AppendText(both.get(), room, end);
  return both;
}

}  // namespace

int CustomBox(const CustomBoxRequest& request) noexcept {
  const UINT style = request.style;
  if ((style & ZQ_MB_DETAILS) && !request.details) return 0;
  if (HasCheckBox(style) && !request.checkState) return 0;
  HWND owner = ChooseOwner(request.owner);
  const WCHAR* text = request.text ? request.text : L"";
  const WCHAR* caption = request.caption ? request.caption : AppCaption();

  if (HasHook()) {
    std::unique_ptr<WCHAR[]> withDetails;
    if (style & ZQ_MB_DETAILS) withDetails = TextWithDetails(text, request.details);
    int answer;
    if (AskHook(owner, withDetails ? withDetails.get() : text, caption, style, &answer)) return answer;
  }

  CustomBoxRecord record{};
  record.style = style;
  record.text = text;
  record.details = request.details;
  record.checkText = request.checkText;
  record.checkState = HasCheckBox(style) ? request.checkState : nullptr;
  record.caption = caption;
  record.owner = owner;
  HINSTANCE instance = AppInstance() ? AppInstance() : zq::core::ModuleInstance();
  return RunCustomDialog(instance, &record);
}

}  // namespace zq::errors

using zq::errors::FormattedText;

ZQAPI int ZQCDECL ZqMsgBox_Custom(HWND owner, UINT style, LPCWSTR details, LPCWSTR format, ...) noexcept {
  va_list args;
  va_start(args, format);
  const FormattedText text(format, args);
  va_end(args);
  return zq::errors::CustomBox({owner, style, text.Text(), details, nullptr, nullptr, nullptr});
}

ZQAPI int ZQCDECL ZqMsgBox_CustomEx(HWND owner, UINT style, LPCWSTR details, LPCWSTR checkText, int* checkState,
                                    LPCWSTR format, ...) noexcept {
  va_list args;
  va_start(args, format);
  const FormattedText text(format, args);
  va_end(args);
  return zq::errors::CustomBox({owner, style, text.Text(), details, checkText, checkState, nullptr});
}
