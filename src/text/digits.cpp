#include "text/digits.h"

#include <charconv>
#include <cmath>

namespace zq::text::digits {
namespace {

// Two digits at a time for the decimal case.
constexpr char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

}  // namespace

WCHAR* UnsignedBackward(ULONGLONG value, WCHAR* end, int base, bool upper) noexcept {
  WCHAR* p = end;
  if (base == 10) {
    // 32-bit divisions once the value fits them: much cheaper on this target.
    while (value > 0xFFFFFFFFull) {
      const unsigned pair = static_cast<unsigned>(value % 100);
      value /= 100;
      *--p = static_cast<WCHAR>(kPairs[2 * pair + 1]);
      *--p = static_cast<WCHAR>(kPairs[2 * pair]);
    }
    DWORD v = static_cast<DWORD>(value);
    while (v >= 100) {
      const DWORD pair = v % 100;
      v /= 100;
      *--p = static_cast<WCHAR>(kPairs[2 * pair + 1]);
      *--p = static_cast<WCHAR>(kPairs[2 * pair]);
    }
    if (v >= 10) {
      *--p = static_cast<WCHAR>(kPairs[2 * v + 1]);
      *--p = static_cast<WCHAR>(kPairs[2 * v]);
    } else {
      *--p = static_cast<WCHAR>(L'0' + v);
    }
    return p;
  }
  const WCHAR* letters = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
  const int shift = base == 16 ? 4 : 3;
  const unsigned mask = static_cast<unsigned>(base - 1);
  do {
    *--p = letters[static_cast<unsigned>(value) & mask];
    value >>= shift;
  } while (value);
  return p;
}

int Unsigned(ULONGLONG value, WCHAR* out, int base, bool upper) noexcept {
  WCHAR buffer[kIntegerRoom];
  WCHAR* end = buffer + kIntegerRoom;
  WCHAR* start = UnsignedBackward(value, end, base, upper);
  const int n = static_cast<int>(end - start);
  for (int i = 0; i < n; ++i) out[i] = start[i];
  return n;
}

int Fixed(double value, int precision, WCHAR* out, int capacity) noexcept {
  if (!std::isfinite(value) || capacity <= 0 || precision < 0) return -1;
  char text[512];
  const int room = capacity - 1 < static_cast<int>(sizeof text) ? capacity - 1 : static_cast<int>(sizeof text);
  const std::to_chars_result r = std::to_chars(text, text + room, value, std::chars_format::fixed, precision);
  if (r.ec != std::errc()) return -1;
  const int n = static_cast<int>(r.ptr - text);
  for (int i = 0; i < n; ++i) out[i] = static_cast<WCHAR>(text[i]);
  out[n] = 0;
  return n;
}

int Grouped(const WCHAR* digitText, int length, bool negative, int grouping, const WCHAR* separator,
            WCHAR* out) noexcept {
  WCHAR* p = out;
  if (negative) *p++ = L'-';
  // Digits until the next separator: the leading group holds what is left
  // over from whole groups.
  int untilSeparator = grouping > 0 ? (length - 1) % grouping + 1 : length;
  for (int i = 0; i < length; ++i) {
    *p++ = digitText[i];
    if (--untilSeparator == 0 && i < length - 1) {
      for (const WCHAR* s = separator; *s; ++s) *p++ = *s;
      untilSeparator = grouping;
    }
  }
  return static_cast<int>(p - out);
}

}  // namespace zq::text::digits
