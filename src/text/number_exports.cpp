// Exports of number-to-text and locale formatting.
#include "core/text_copy.h"
#include "text/number_text.h"
#include "zq/number.h"

using namespace zq::text;

namespace {

constexpr int kAliasCopy = 1024;

// Formats `number` into `buffer`; when the two overlap the number is read
// from a copy (cut to kAliasCopy - 1 characters).
int FormatExport(LPCWSTR number, LPWSTR buffer, int capacity, NumberStyle style, int decimals) {
  if (!buffer || capacity <= 0) return 0;
  auto at = [](const void* p) { return reinterpret_cast<UINT_PTR>(p); };
  const UINT_PTR bufferEnd = at(buffer) + static_cast<UINT_PTR>(capacity) * sizeof(WCHAR);
  if (number && at(number) < bufferEnd && at(buffer) < at(number) + kAliasCopy * sizeof(WCHAR)) {
    WCHAR copy[kAliasCopy];
    zq::core::CopyText(copy, kAliasCopy, number);
    return FormatNumberText(copy, buffer, capacity, style, decimals);
  }
  return FormatNumberText(number, buffer, capacity, style, decimals);
}

}  // namespace

ZQAPI int WINAPI ZqLongToText(LONG value, LPWSTR buffer, BOOL group) noexcept {
  return LongToText(value, buffer, kNumberTextCapacity, group != 0);
}

ZQAPI int WINAPI ZqDWordToText(DWORD value, LPWSTR buffer, BOOL group) noexcept {
  return DWordToText(value, buffer, kNumberTextCapacity, group != 0);
}

ZQAPI int WINAPI ZqDWordLongToText(DWORD low, DWORD high, LPWSTR buffer, BOOL group) noexcept {
  ULONGLONG value = (static_cast<ULONGLONG>(high) << 32) | low;
  return DWordLongToText(value, buffer, kNumberTextCapacity, group != 0);
}

ZQAPI int WINAPI ZqLongLongToText(DWORD low, LONG high, LPWSTR buffer, BOOL group) noexcept {
  ULONGLONG bits = (static_cast<ULONGLONG>(static_cast<DWORD>(high)) << 32) | low;
  return LongLongToText(static_cast<LONGLONG>(bits), buffer, kNumberTextCapacity, group != 0);
}

ZQAPI int WINAPI ZqDoubleToText(LPWSTR buffer, double value, int decimals, BOOL group) noexcept {
  return DoubleToText(buffer, kNumberTextCapacity, value, decimals, group != 0);
}

ZQAPI int WINAPI ZqFormatNumber(LPCWSTR number, LPWSTR buffer, int capacity) noexcept {
  return FormatExport(number, buffer, capacity, NumberStyle::Integer, 0);
}

ZQAPI int WINAPI ZqFormatDecimalNumber(LPCWSTR number, LPWSTR buffer, int capacity) noexcept {
  return FormatExport(number, buffer, capacity, NumberStyle::Decimal, -1);
}

ZQAPI int WINAPI ZqFormatGroupDecimalNumber(LPCWSTR number, LPWSTR buffer, int capacity, int decimals) noexcept {
  return FormatExport(number, buffer, capacity, NumberStyle::GroupDecimal, decimals);
}
