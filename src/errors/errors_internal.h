// Pieces of the error handler shared by its files.
#pragma once
#include <windows.h>

namespace zq::errors {

constexpr int kMessageCapacity = 2048;   // the composed message, terminator included
constexpr int kDetailsCapacity = 8191;   // details text, terminator included (< 0x3FFF bytes)
constexpr int kDetailsCopyCapacity = 16368 / sizeof(WCHAR);  // the copy handed to the box
constexpr int kWarningCapacity = 50;     // "Warning: "
constexpr int kMaxErrorTables = 32;

// Library string `id` from the library's language handle; "" when missing.
const WCHAR* LibraryText(UINT id) noexcept;

// Resolves a text slot: 0 -> null, below 0x10000 -> library string, else
// the pointer itself.
const WCHAR* SlotText(const WCHAR* slot) noexcept;

// The text of a result code from the registered tables, then the built-in
// table; null when none knows it.
const WCHAR* ResultCodeText(HRESULT code) noexcept;

// The operation text for an operation id, or the general text for an
// unknown one.
const WCHAR* OperationText(UINT id) noexcept;

HRESULT TranslateWin32(DWORD error) noexcept;
HRESULT TranslateCommDlg(DWORD error) noexcept;

// Composes into the module-wide message buffer; returns it.
const WCHAR* ComposeErrorMessage(const WCHAR* message, HRESULT code, const WCHAR* argument) noexcept;

// Details state. AddLine adds `line` as written (no formatting).
void ResetDetails() noexcept;
HRESULT AddDetailsLine(HRESULT code, const WCHAR* line) noexcept;
HRESULT DetailsCode() noexcept;
// Copies the details text into `out` (always terminated); returns the
// number of lines (0: nothing copied, `out` empty).
int CopyDetails(WCHAR* out, int capacity) noexcept;

// The exception report (all sections for 0) into an ANSI buffer; returns
// the characters written.
int WriteExceptionReport(char* out, int size, const char* threadName, const EXCEPTION_POINTERS* exception,
                         DWORD sections) noexcept;

// Shows the error text (as written, never read as a format).
int ShowErrorText(HWND owner, UINT style, const WCHAR* text, BOOL warning) noexcept;

}  // namespace zq::errors
