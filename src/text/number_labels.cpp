// Byte-size labels, values with units and four-character codes.
#include <climits>
#include <cmath>

#include "core/module_state.h"
#include "core/text_copy.h"
#include "text/library_strings.h"
#include "text/number_text.h"
#include "text/printer.h"
#include "text/text_ids.h"
#include "zq/kernel.h"
#include "zq/number.h"

namespace {

constexpr int kLabelUnits = 24;  // a temporary-ring slot: 23 characters and the terminator

// `spaced`: the form with "bytes" and a space before the unit.
int ByteSize(LONGLONG bytes, LPWSTR buffer, bool spaced) {
  using zq::text::PrintBounded;
  const int capacity = zq::text::kNumberTextCapacity;
  // Negative counts print in full (not only their low 32 bits).
  if (bytes < 1024) return PrintBounded(buffer, capacity, spaced ? L"%I64d bytes" : L"%I64d", bytes);
  const double value = static_cast<double>(bytes);
  if (bytes < 1024000LL) return PrintBounded(buffer, capacity, spaced ? L"$.2f KB" : L"$.2fKB", value / 1024.0);
  if (bytes < 1024000000LL)
    return PrintBounded(buffer, capacity, spaced ? L"$.2f MB" : L"$.2fMB", value / 1048576.0);
  return PrintBounded(buffer, capacity, spaced ? L"$.2f GB" : L"$.2fGB", value / 1073741824.0);
}

LPWSTR LabelSlot() {
  return ZqGetTempStringBuffer(zq::core::DefaultLang(), kLabelUnits);
}

// "$.Xz" / "$.Xf" with X the number of decimals (at most 9).
void DecimalTemplate(WCHAR* format, int decimals, WCHAR letter) {
  format[0] = L'$';
  format[1] = L'.';
  format[2] = static_cast<WCHAR>(L'0' + (decimals > 9 ? 9 : decimals));
  format[3] = letter;
  format[4] = 0;
}

LPCWSTR Finish(LPWSTR slot, LPCWSTR suffix) {
  if (suffix) zq::core::AppendText(slot, kLabelUnits, suffix);
  return slot;
}

}  // namespace

ZQAPI int WINAPI ZqGetByteSizeText(LONGLONG bytes, LPWSTR buffer) noexcept { return ByteSize(bytes, buffer, false); }

ZQAPI int WINAPI ZqGetByteSizeText2(LONGLONG bytes, LPWSTR buffer) noexcept { return ByteSize(bytes, buffer, true); }

ZQAPI LPCWSTR WINAPI ZqGetLabeledStringFixed(LONG value, int decimals, LONG floor, LPCWSTR suffix) noexcept {
  if (floor != 0 && floor >= value) return zq::text::LibraryString(IDS_ZQ_MINUS_INFINITY);
  LPWSTR slot = LabelSlot();
  if (!slot) return zq::text::LibraryString(IDS_ZQ_VALUE_ERROR);
  if (decimals <= 0) {
    zq::text::PrintBounded(slot, kLabelUnits, L"$d", value);
  } else {
    WCHAR format[5];
    DecimalTemplate(format, decimals, L'z');
    zq::text::PrintBounded(slot, kLabelUnits, format, value);
  }
  return Finish(slot, suffix);
}

ZQAPI LPCWSTR WINAPI ZqGetLabeledStringFloat(float value, int decimals, float floor, LPCWSTR suffix) noexcept {
  if (floor != 0.0f && floor >= value) return zq::text::LibraryString(IDS_ZQ_MINUS_INFINITY);
  LPWSTR slot = LabelSlot();
  if (!slot) return zq::text::LibraryString(IDS_ZQ_VALUE_ERROR);
  if (decimals <= 0) {
    // Truncated toward zero; out-of-range values are held at the int range.
    LONG whole = 0;
    if (value >= 2147483647.0f) whole = LONG_MAX;
    else if (value <= -2147483648.0f) whole = LONG_MIN;
    else if (!std::isnan(value)) whole = static_cast<LONG>(value);
    zq::text::PrintBounded(slot, kLabelUnits, L"$d", whole);
  } else {
    WCHAR format[5];
    DecimalTemplate(format, decimals, L'f');
    zq::text::PrintBounded(slot, kLabelUnits, format, static_cast<double>(value));
  }
  return Finish(slot, suffix);
}

ZQAPI WCHAR WINAPI ZqFourCCToString(DWORD code, LPWSTR buffer) noexcept {
  if (!buffer) return 0;
  for (int i = 0; i < 4; ++i) {
    BYTE b = static_cast<BYTE>(code >> (8 * i));
    buffer[i] = (b >= 32 && b <= 126) ? static_cast<WCHAR>(b) : L'.';
  }
  buffer[4] = 0;
  return buffer[3];
}
