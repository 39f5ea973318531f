// The formatting rule of the message boxes and window-text setters: a text
// with "%" or "$" goes through the printer into a bounded buffer, any other
// text is used as it stands.
#include "core/module_state.h"
#include "errors/msgbox_internal.h"
#include "text/printer.h"
#include "zq/lang.h"

namespace zq::errors {

FormattedText::FormattedText(const WCHAR* format, va_list args) noexcept : text_(format) {
  buffer_[0] = 0;
  if (format && zq::text::NeedsFormatting(format)) {
    zq::text::VPrintBounded(buffer_, kFormatCapacity, format, args);
    text_ = buffer_;
  }
}

const WCHAR* LangText(HZQLANG lang, UINT id) noexcept {
  const WCHAR* text = ZqGetString(lang ? lang : zq::core::DefaultLang(), id);
  return text ? text : L"";
}

}  // namespace zq::errors
