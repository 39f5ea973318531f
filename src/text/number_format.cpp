// Number text through the locale: grouping, decimal separator, rounding.
// Plain C++ over the current international settings record; the result
// follows the system number formatter's conventions (negative order 1,
// round half away from zero, the locale's leading-zero flag).
#include <cmath>
#include <cstdint>

#include "text/digits.h"
#include "text/internationals_store.h"
#include "text/number_text.h"
#include "text/text_writer.h"

namespace zq::text {
namespace {

constexpr int kMaxDigits = 640;

inline bool IsDigit(WCHAR c) { return c >= L'0' && c <= L'9'; }

struct NumberLocale {
  const WCHAR* thousand;
  const WCHAR* decimal;
  int grouping;  // 0 = no grouping
  bool leadingZero;
};

NumberLocale CurrentLocale() noexcept {
  const ZQINTERNATIONALS& r = Internationals();
  int grouping = r.grouping <= 9 ? static_cast<int>(r.grouping) : 0;
  return {r.thousandSep, r.decimalSep, grouping, r.leadingZero != 0};
}

// The number part of a text: an optional "-", digits, optionally "." and
// more digits (at least one digit in all).
struct NumberParts {
  bool negative = false;
  const WCHAR* integer = nullptr;
  int integerLength = 0;
  const WCHAR* fraction = nullptr;
  int fractionLength = 0;
  const WCHAR* end = nullptr;  // first character after the number
};

bool SplitNumber(const WCHAR* p, NumberParts* parts) noexcept {
  if (*p == L'-') {
    parts->negative = true;
    ++p;
  }
  parts->integer = p;
  while (IsDigit(*p)) ++p;
  parts->integerLength = static_cast<int>(p - parts->integer);
  if (*p == L'.' && IsDigit(p[1])) {  // a "." without digits after it is not part of the number
    ++p;
    parts->fraction = p;
    while (IsDigit(*p)) ++p;
    parts->fractionLength = static_cast<int>(p - parts->fraction);
  }
  parts->end = p;
  return parts->integerLength + parts->fractionLength > 0;
}

// Writes the number rounded to `decimals` places. False (nothing written)
// when the digits do not fit the work area.
bool WriteNumber(TextWriter& out, const NumberParts& n, int decimals, bool group, bool withDecimal,
                 const NumberLocale& locale) noexcept {
  const WCHAR* integer = n.integer;
  int integerLength = n.integerLength;
  while (integerLength > 0 && *integer == L'0') {  // leading zeros
    ++integer;
    --integerLength;
  }
  // Compared without adding, so that no count can overflow past the test.
  if (decimals < 0 || decimals >= kMaxDigits || integerLength > kMaxDigits - 1 - decimals) return false;

  // digits[0] is a spare position for a carry out of the top.
  char digits[kMaxDigits + 1];
  int count = 1;
  digits[0] = 0;
  for (int i = 0; i < integerLength; ++i) digits[count++] = static_cast<char>(integer[i] - L'0');
  for (int i = 0; i < decimals; ++i)
    digits[count++] = static_cast<char>(i < n.fractionLength ? n.fraction[i] - L'0' : 0);
  if (n.fractionLength > decimals && n.fraction[decimals] >= L'5') {
    int i = count - 1;
    while (i >= 0 && digits[i] == 9) digits[i--] = 0;
    if (i >= 0) ++digits[i];
  }
  int first = digits[0] ? 0 : 1;
  int integerDigits = count - decimals - first;

  bool zero = true;
  for (int i = first; i < count; ++i) zero = zero && digits[i] == 0;
  if (n.negative && !zero) out.Put(L'-');

  if (integerDigits == 0) {
    if (decimals == 0 || locale.leadingZero) out.Put(L'0');
  } else {
    for (int k = 0; k < integerDigits; ++k) {
      out.Put(static_cast<WCHAR>(L'0' + digits[first + k]));
      int remaining = integerDigits - 1 - k;
      if (group && locale.grouping > 0 && remaining > 0 && remaining % locale.grouping == 0)
        out.Put(locale.thousand);
    }
  }
  if (decimals > 0) {
    if (withDecimal) out.Put(locale.decimal);
    for (int i = count - decimals; i < count; ++i) out.Put(static_cast<WCHAR>(L'0' + digits[i]));
  }
  return true;
}

}  // namespace

int FormatNumberText(const WCHAR* text, WCHAR* outBuffer, int capacity, NumberStyle style, int decimals) noexcept {
  TextWriter out(outBuffer, capacity);
  if (!text) return out.Finish();

  // Characters before the number, and leading zeros, stay as they are.
  const WCHAR* p = text;
  while (*p) {
    WCHAR c = *p;
    bool numberStart = IsDigit(c) || c == L'-' || c == L'.';
    if (numberStart && !(c == L'0' && p[1] != L'.')) break;
    ++p;
  }
  out.Put(text, static_cast<int>(p - text));

  NumberParts parts;
  if (!SplitNumber(p, &parts)) {  // no number: the rest as it is
    out.Put(p);
    return out.Finish();
  }
  const NumberLocale locale = CurrentLocale();
  int places = 0;
  bool group = true;
  switch (style) {
    case NumberStyle::Integer: places = 0; break;
    case NumberStyle::Decimal: places = parts.fractionLength; group = false; break;
    case NumberStyle::GroupDecimal: places = decimals < 0 ? parts.fractionLength : decimals; break;
  }
  if (!WriteNumber(out, parts, places, group, style != NumberStyle::Integer, locale)) {
    out.Put(p);
    return out.Finish();
  }
  out.Put(parts.end);  // text after the number is kept
  return out.Finish();
}

int UnsignedToText(ULONGLONG value, bool negative, WCHAR* out, int capacity, bool group) noexcept {
  WCHAR number[digits::kIntegerRoom];
  WCHAR* end = number + digits::kIntegerRoom - 1;
  *end = 0;
  WCHAR* start = digits::UnsignedBackward(value, end);
  if (!group) {
    if (negative) *--start = L'-';
    return zq::core::CopyText(out, capacity, start);
  }
  // Each digit, with a separator of up to seven characters after it.
  WCHAR grouped[digits::kIntegerRoom * 8 + 2];
  const NumberLocale locale = CurrentLocale();
  const int n = digits::Grouped(start, static_cast<int>(end - start), negative && value != 0, locale.grouping,
                                locale.thousand, grouped);
  return zq::core::CopyTextN(out, capacity, grouped, n);
}

int LongToText(LONG value, WCHAR* out, int capacity, bool group) noexcept {
  DWORD magnitude = value < 0 ? 0u - static_cast<DWORD>(value) : static_cast<DWORD>(value);
  return UnsignedToText(magnitude, value < 0, out, capacity, group);
}

int DWordToText(DWORD value, WCHAR* out, int capacity, bool group) noexcept {
  return UnsignedToText(value, false, out, capacity, group);
}

int LongLongToText(LONGLONG value, WCHAR* out, int capacity, bool group) noexcept {
  ULONGLONG magnitude = value < 0 ? 0ull - static_cast<ULONGLONG>(value) : static_cast<ULONGLONG>(value);
  return UnsignedToText(magnitude, value < 0, out, capacity, group);
}

int DWordLongToText(ULONGLONG value, WCHAR* out, int capacity, bool group) noexcept {
  return UnsignedToText(value, false, out, capacity, group);
}

int DoubleToText(WCHAR* out, int capacity, double value, int decimals, bool group) noexcept {
  if (decimals > 8) decimals = 9;
  if (decimals < 0) decimals = 0;
  static const ULONGLONG kPowers[10] = {1,          10,          100,          1000,          10000,
                                        100000,     1000000,     10000000,     100000000,     1000000000};
  const ULONGLONG scale = kPowers[decimals];
  double magnitude = std::isnan(value) ? 0.0 : std::fabs(value);

  // Integer part and the fraction rounded half up to `decimals` digits.
  // Magnitudes beyond the 64-bit range print as the largest 64-bit value.
  ULONGLONG integer;
  ULONGLONG fraction = 0;
  if (magnitude >= 18446744073709551616.0) {
    integer = UINT64_MAX;
  } else {
    integer = static_cast<ULONGLONG>(magnitude);
    double rest = magnitude - static_cast<double>(integer);
    fraction = static_cast<ULONGLONG>(rest * static_cast<double>(scale) + 0.5);
    if (fraction >= scale) {
      fraction -= scale;
      ++integer;
    }
  }

  WCHAR text[48];
  TextWriter w(text, 48);
  if (value < 0 && (integer || fraction)) w.Put(L'-');
  WCHAR digits[24];
  UnsignedToText(integer, false, digits, 24, false);
  w.Put(digits);
  if (decimals > 0) {
    UnsignedToText(fraction + scale, false, digits, 24, false);
    w.Put(L'.');
    w.Put(digits + 1);  // the leading "1" gives the zero padding
  }
  w.Finish();
  if (group) return FormatGroupDecimalNumber(text, out, capacity, decimals);
  return zq::core::CopyText(out, capacity, text);
}

}  // namespace zq::text
