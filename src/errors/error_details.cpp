// The details lines shown in the message box's details area: one
// process-wide text, bound to the first thread that adds a line after a
// reset.
#include <wchar.h>

#include <memory>
#include <new>

#include "core/text_copy.h"
#include "errors/errors_internal.h"
#include "text/printer.h"
#include "zq/errors.h"

namespace zq::errors {
namespace {

struct Details {
  HRESULT code = S_OK;
  DWORD thread = 0;
  int lines = 0;
  int length = 0;  // characters, terminator excluded
  WCHAR text[kDetailsCapacity] = {};
};
Details g_details;
// Held only while our own memory is copied, so that a fault in a caller's
// argument never leaves it held (the exception filter resets the details).
SRWLOCK g_lock = SRWLOCK_INIT;

// Binds the details to the first calling thread after a reset; false for
// another thread that brings a different code.
bool BindThread(HRESULT code) noexcept {
  const DWORD thread = GetCurrentThreadId();
  AcquireSRWLockExclusive(&g_lock);
  bool accepted = true;
  if (g_details.thread == 0) g_details.thread = thread;
  else if (g_details.thread != thread && g_details.code != code) accepted = false;
  ReleaseSRWLockExclusive(&g_lock);
  return accepted;
}

// Appends `line` and "\r\n" when the text, terminator included, stays
// below 0x3FFF bytes; else nothing changes.
HRESULT Append(HRESULT code, const WCHAR* line, int length) noexcept {
  AcquireSRWLockExclusive(&g_lock);
  HRESULT result = E_FAIL;
  if (g_details.length + length + 2 + 1 <= kDetailsCapacity) {
    WCHAR* at = g_details.text + g_details.length;
    int room = kDetailsCapacity - g_details.length;
    int n = zq::core::CopyTextN(at, room, line, length);
    n += zq::core::CopyText(at + n, room - n, L"\r\n");
    g_details.length += n;
    ++g_details.lines;
    g_details.code = code;
    result = S_OK;
  }
  ReleaseSRWLockExclusive(&g_lock);
  return result;
}

// The length of `line`, stopping where it could not fit any more.
int BoundedLength(const WCHAR* line) noexcept { return static_cast<int>(wcsnlen(line, kDetailsCapacity)); }

}  // namespace

void ResetDetails() noexcept {
  AcquireSRWLockExclusive(&g_lock);
  g_details.code = S_OK;
  g_details.thread = 0;
  g_details.lines = 0;
  g_details.length = 0;
  g_details.text[0] = 0;
  ReleaseSRWLockExclusive(&g_lock);
}

HRESULT AddDetailsLine(HRESULT code, const WCHAR* line) noexcept {
  if (!BindThread(code)) return E_FAIL;
  if (!line) return E_POINTER;
  return Append(code, line, BoundedLength(line));
}

HRESULT DetailsCode() noexcept {
  AcquireSRWLockShared(&g_lock);
  HRESULT code = g_details.code;
  ReleaseSRWLockShared(&g_lock);
  return code;
}

int CopyDetails(WCHAR* out, int capacity) noexcept {
  AcquireSRWLockShared(&g_lock);
  int lines = g_details.lines;
  zq::core::CopyText(out, capacity, lines > 0 ? g_details.text : L"");
  ReleaseSRWLockShared(&g_lock);
  return lines;
}

}  // namespace zq::errors

using namespace zq::errors;

ZQAPI HRESULT WINAPI ZqErrorHandler_DetailsInit(void) noexcept {
  ResetDetails();
  return S_OK;
}

ZQAPI HRESULT ZQCDECL ZqErrorHandler_DetailsAddString(HRESULT code, LPCWSTR format, ...) noexcept {
  if (!BindThread(code)) return E_FAIL;
  if (!format) return E_POINTER;
  if (!zq::text::NeedsFormatting(format)) return Append(code, format, BoundedLength(format));
  // A formatted line longer than the scratch is cut there, and a cut line
  // can never fit: it is refused whole like any other line that is too long.
  std::unique_ptr<WCHAR[]> scratch(new (std::nothrow) WCHAR[kDetailsCapacity]);
  if (!scratch) return E_OUTOFMEMORY;
  va_list args;
  va_start(args, format);
  int length = zq::text::VPrintBounded(scratch.get(), kDetailsCapacity, format, args);
  va_end(args);
  return Append(code, scratch.get(), length);
}

ZQAPI HRESULT WINAPI ZqErrorHandler_GetLastError(void) noexcept { return DetailsCode(); }
