// The crash reporter: an exception filter that shows the exception report in
// the details of the library's error box.
#include <atomic>

#include "errors/errors_internal.h"
#include "errors/show_message.h"
#include "zq/errors.h"

namespace zq::errors {
namespace {

constexpr int kReportSize = 4096;
constexpr DWORD kDatatypeMisalignment = 0x80000002;

// Module-wide: the filter may run on a thread with little stack left.
char g_report[kReportSize];
WCHAR g_wideReport[kReportSize];

using IsDebuggerPresentFunction = BOOL(WINAPI*)();

// The system's IsDebuggerPresent, looked up once; no function, no debugger.
bool DebuggerAttached() noexcept {
  static std::atomic<int> looked{0};
  static std::atomic<IsDebuggerPresentFunction> function{nullptr};
  if (!looked.load(std::memory_order_acquire)) {
    HMODULE kernel = GetModuleHandleW(L"KERNEL32");
    FARPROC found = kernel ? GetProcAddress(kernel, "IsDebuggerPresent") : nullptr;
    function.store(reinterpret_cast<IsDebuggerPresentFunction>(reinterpret_cast<void*>(found)));
    looked.store(1, std::memory_order_release);
  }
  IsDebuggerPresentFunction present = function.load();
  return present && present();
}

}  // namespace

LONG ExceptionFilter(EXCEPTION_POINTERS* exception, const char* threadName) noexcept {
  if (exception && exception->ExceptionRecord &&
      exception->ExceptionRecord->ExceptionCode == kDatatypeMisalignment)
    return EXCEPTION_CONTINUE_SEARCH;
  WriteExceptionReport(g_report, kReportSize, threadName, exception, 0);
  if (DebuggerAttached()) return EXCEPTION_CONTINUE_SEARCH;

  ResetDetails();
  const WCHAR* caption = ApplicationCaption();
  if (caption && *caption) AddDetailsLine(ZQ_E_EXCEPTION, caption);
  if (!MultiByteToWideChar(CP_ACP, 0, g_report, -1, g_wideReport, kReportSize)) g_wideReport[0] = 0;
  g_wideReport[kReportSize - 1] = 0;
  AddDetailsLine(ZQ_E_EXCEPTION, g_wideReport);
  ShowErrorText(reinterpret_cast<HWND>(-1), MB_ICONEXCLAMATION,
                ComposeErrorMessage(nullptr, ZQ_E_EXCEPTION, nullptr), FALSE);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace zq::errors

ZQAPI LONG WINAPI ZqErrorHandler_ExceptionFilter(EXCEPTION_POINTERS* exception, LPCSTR threadName) noexcept {
  return zq::errors::ExceptionFilter(exception, threadName);
}
