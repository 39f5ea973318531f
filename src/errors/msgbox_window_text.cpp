// Window-text setters that format their text with the library's printer,
// and the multi-line edit "print".
#include <wchar.h>

#include <memory>
#include <new>

#include "errors/msgbox_internal.h"

namespace zq::errors {
namespace {

constexpr int kNoFlashLimit = 8192;  // longer texts are always set

int SetText(HWND window, const WCHAR* text) noexcept {
  if (!text || !SetWindowTextW(window, text)) return 0;
  return static_cast<int>(wcslen(text));
}

int SetItemText(HWND dialog, int item, const WCHAR* text) noexcept {
  HWND control = GetDlgItem(dialog, item);
  return control ? SetText(control, text) : 0;
}

// The item's text when it is shorter than the limit and equals `text`.
bool ItemShows(HWND control, const WCHAR* text) noexcept {
  const int length = GetWindowTextLengthW(control);
  if (length >= kNoFlashLimit || length != static_cast<int>(wcslen(text))) return false;
  std::unique_ptr<WCHAR[]> current(new (std::nothrow) WCHAR[length + 1]);
  if (!current) return false;
  current[0] = 0;
  GetWindowTextW(control, current.get(), length + 1);
  return wcscmp(current.get(), text) == 0;
}

}  // namespace
}  // namespace zq::errors

using zq::errors::FormattedText;

ZQAPI int ZQCDECL ZqSetWindowText(HWND window, LPCWSTR format, ...) noexcept {
  if (!format) return 0;
  va_list args;
  va_start(args, format);
  const FormattedText text(format, args);
  va_end(args);
  return zq::errors::SetText(window, text.Text());
}

ZQAPI int ZQCDECL ZqSetWindowTextId(HZQLANG lang, HWND window, UINT id, ...) noexcept {
  va_list args;
  va_start(args, id);
  const FormattedText text(zq::errors::LangText(lang, id), args);
  va_end(args);
  return zq::errors::SetText(window, text.Text());
}

ZQAPI int ZQCDECL ZqSetDlgItemText(HWND dialog, int item, LPCWSTR format, ...) noexcept {
  if (!format) return 0;
  va_list args;
  va_start(args, format);
  const FormattedText text(format, args);
  va_end(args);
  return zq::errors::SetItemText(dialog, item, text.Text());
}

ZQAPI int ZQCDECL ZqSetDlgItemTextId(HZQLANG lang, HWND dialog, int item, UINT id, ...) noexcept {
  va_list args;
  va_start(args, id);
  const FormattedText text(zq::errors::LangText(lang, id), args);
  va_end(args);
  return zq::errors::SetItemText(dialog, item, text.Text());
}

ZQAPI int ZQCDECL ZqSetDlgItemTextNoFlash(HWND dialog, int item, LPCWSTR format, ...) noexcept {
  if (!format) return 0;
  va_list args;
  va_start(args, format);
  const FormattedText text(format, args);
  va_end(args);
  HWND control = GetDlgItem(dialog, item);
  if (!control) return 0;
  if (zq::errors::ItemShows(control, text.Text())) return static_cast<int>(wcslen(text.Text()));
  return zq::errors::SetText(control, text.Text());
}

ZQAPI int ZQCDECL ZqMEditPrintF(HWND edit, LPCWSTR format, ...) noexcept {
  if (!format) {
    SetWindowTextW(edit, L"");
    return 0;
  }
  // Leading tildes: no line break after this text.
  const WCHAR* body = format;
  while (*body == L'~') ++body;
  const bool lineBreak = body == format;
  va_list args;
  va_start(args, format);
  const FormattedText text(body, args);
  va_end(args);
  const int length = static_cast<int>(wcslen(text.Text()));
  const LRESULT end = SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0);
  SendMessageW(edit, EM_SETSEL, end, end);
  SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.Text()));
  if (lineBreak) SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"\r\n"));
  return length;
}
