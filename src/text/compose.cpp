// ZqComposeStr: the system message formatter's "%1" insert syntax.
#include <stdarg.h>

#include "zq/printf.h"

ZQAPI int ZQCDECL ZqComposeStr(LPWSTR buffer, int capacity, LPCWSTR format, ...) noexcept {
  if (!buffer || capacity <= 0) return 0;
  buffer[0] = 0;
  if (!format) return 0;
  va_list args;
  va_start(args, format);
  DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_STRING, format, 0, 0, buffer, static_cast<DWORD>(capacity), &args);
  va_end(args);
  if (n == 0 || n >= static_cast<DWORD>(capacity)) {
    buffer[0] = 0;
    return 0;
  }
  buffer[n] = 0;
  return static_cast<int>(n);
}
