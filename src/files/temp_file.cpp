// Unique temporary files: prefix, middle part, a number and a suffix,
// created exclusively.
#include <cwchar>
#include <initializer_list>
#include <iterator>

#include "core/text_copy.h"
#include "text/printer.h"
#include "zq/errors.h"
#include "zq/files.h"

namespace {

constexpr int kNumberField = 40;
constexpr int kMaxAttempts = 65536;

}  // namespace

ZQAPI HRESULT WINAPI ZqCreateTempFileAndNameEx(LPCWSTR prefix, LPCWSTR middle, LPCWSTR suffix, LPCWSTR numberFormat,
                                               LPWSTR buffer, int capacity) noexcept {
  if (!buffer || capacity <= 0 || IsBadWritePtr(buffer, static_cast<UINT_PTR>(capacity) * sizeof(WCHAR)))
    return E_INVALIDARG;
  buffer[0] = 0;
  if (!prefix && !middle && !suffix) return E_INVALIDARG;
  const WCHAR* format = numberFormat ? numberFormat : L"%d";
  // The number is the one argument the format gets: a format that reads a
  // string, a double or a second value would read what was never passed.
  if (!zq::text::TakesAtMostOneInteger(format)) return E_INVALIDARG;
  WCHAR previous[MAX_PATH + kNumberField] = L"";
  for (int n = 1; n <= kMaxAttempts; ++n) {
    WCHAR number[kNumberField];
    zq::text::PrintBounded(number, kNumberField, format, n);
    const size_t length = (prefix ? wcslen(prefix) : 0) + (middle ? wcslen(middle) : 0) + wcslen(number) +
                          (suffix ? wcslen(suffix) : 0);
    if (length + 1 > static_cast<size_t>(capacity)) {
      buffer[0] = 0;
      return E_INVALIDARG;
    }
    buffer[0] = 0;
    for (const WCHAR* part : {prefix, middle, static_cast<const WCHAR*>(number), suffix})
      if (part) zq::core::AppendText(buffer, capacity, part);
    // A format that prints no number makes the same name again: it exists.
    if (n > 1 && wcscmp(previous, buffer) == 0) break;
    zq::core::CopyText(previous, static_cast<int>(std::size(previous)), buffer);
    HANDLE file = CreateFileW(buffer, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      CloseHandle(file);
      return S_OK;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS || error == ERROR_SHARING_VIOLATION ||
        (error == ERROR_ACCESS_DENIED && GetFileAttributesW(buffer) != INVALID_FILE_ATTRIBUTES))
      continue;
    buffer[0] = 0;
    const HRESULT hr = ZqErrorHandler_TranslateWin32Error(error);
    return SUCCEEDED(hr) ? E_FAIL : hr;
  }
  buffer[0] = 0;
  return HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
}

ZQAPI HRESULT WINAPI ZqCreateTempFileAndName(LPCWSTR prefix, LPCWSTR suffix, LPWSTR buffer, int capacity) noexcept {
  return ZqCreateTempFileAndNameEx(prefix, nullptr, suffix, nullptr, buffer, capacity);
}
