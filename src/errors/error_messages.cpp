// Composing an error message: the operation text, a blank line, the result
// code's text, in the module-wide message buffer.
#include "errors/errors_ids.h"
#include "errors/errors_internal.h"
#include "text/printer.h"
#include "zq/errors.h"

namespace zq::errors {
namespace {

WCHAR g_message[kMessageCapacity];
const WCHAR kNone[1] = {0};

// Formats a table text with the caller's one argument. A text with more
// directives than that finds empty strings instead of reading arguments
// that were never passed.
int FormatWithArgument(WCHAR* out, int capacity, const WCHAR* format, const WCHAR* argument) noexcept {
  const WCHAR* a = argument ? argument : kNone;
  return zq::text::PrintBounded(out, capacity, format, a, kNone, kNone, kNone, kNone, kNone, kNone, kNone);
}

}  // namespace

const WCHAR* ComposeErrorMessage(const WCHAR* message, HRESULT code, const WCHAR* argument) noexcept {
  ULONG_PTR value = reinterpret_cast<ULONG_PTR>(message);
  const WCHAR* operation = value > 0xFFFF ? message : OperationText(static_cast<UINT>(value));
  int length = FormatWithArgument(g_message, kMessageCapacity, operation, argument);
  if (length >= kMessageCapacity - 1) return g_message;

  // The result text is formatted too, so that "$(AppName)" and a "%s" (the
  // same argument) are filled in here: the composed message is shown as it
  // stands, never read as a format again.
  WCHAR* rest = g_message + length;
  const int room = kMessageCapacity - length;
  if (const WCHAR* text = ResultCodeText(code))
    FormatWithArgument(rest, room, text, argument);
  else
    zq::text::PrintBounded(rest, room, LibraryText(IDS_ERR_MESSAGE_MISSING), static_cast<DWORD>(code));
  return g_message;
}

}  // namespace zq::errors

ZQAPI LPCWSTR WINAPI ZqErrorHandler_GetErrorMessage(LPCWSTR message, HRESULT code, LPCWSTR argument) noexcept {
  return zq::errors::ComposeErrorMessage(message, code, argument);
}
