// Win32 and common-dialog error codes as result codes. Codes not listed
// give E_FAIL.
#include "errors/errors_internal.h"
#include "zq/errors.h"

namespace zq::errors {
namespace {

struct Translation {
  DWORD error;
  DWORD result;
};

constexpr Translation kWin32[] = {
    {0, 0x00000000},    // S_OK
    {1, 0x80070057},    // E_INVALIDARG
    {2, 0x8004E00A},    {3, 0x8004E00A},   {126, 0x8004E00A}, {127, 0x8004E00A},  // not found
    {4, 0x8004E026},    // too many open files
    {6, 0x80070006},    // E_HANDLE
    {14, 0x8007000E},   {84, 0x8007000E},  // E_OUTOFMEMORY
    {15, 0x800404B0},   // invalid device
    {32, 0x8004E05A},   // sharing violation
    {39, 0x8004E002},   {112, 0x8004E002},  // disk full
    {80, 0x8004E032},   // file exists
    {110, 0x8004E007},  // open failed
    {120, 0x80004001},  // E_NOTIMPL
    {123, 0x8004E00D},  // invalid name
    {170, 0x8004E005},  // busy
};

constexpr Translation kCommDlg[] = {
    {0x0000, 0x00000000},  // S_OK
    {0x0001, 0x80070057}, {0x0003, 0x80070057}, {0x0004, 0x80070057}, {0x000B, 0x80070057},
    {0x3003, 0x80070057}, {0x4001, 0x80070057}, {0xFFFF, 0x80070057},  // E_INVALIDARG
    {0x0002, 0x8007000E}, {0x0005, 0x8007000E}, {0x0007, 0x8007000E}, {0x0008, 0x8007000E},
    {0x0009, 0x8007000E}, {0x000A, 0x8007000E}, {0x3001, 0x8007000E},  // E_OUTOFMEMORY
    {0x0006, 0x8004E00E},  // resource missing
    {0x3002, 0x8004E00D},  // invalid file name
};

template <size_t N>
HRESULT Translate(const Translation (&table)[N], DWORD error) noexcept {
  for (const Translation& entry : table)
    if (entry.error == error) return static_cast<HRESULT>(entry.result);
  return E_FAIL;
}

}  // namespace

HRESULT TranslateWin32(DWORD error) noexcept { return Translate(kWin32, error); }
HRESULT TranslateCommDlg(DWORD error) noexcept { return Translate(kCommDlg, error); }

}  // namespace zq::errors

ZQAPI HRESULT WINAPI ZqErrorHandler_TranslateWin32Error(DWORD error) noexcept {
  return zq::errors::TranslateWin32(error);
}

ZQAPI HRESULT WINAPI ZqErrorHandler_TranslateCommDlgError(DWORD error) noexcept {
  return zq::errors::TranslateCommDlg(error);
}
