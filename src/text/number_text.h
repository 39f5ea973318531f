// Number text inside the library: bounded forms of the number exports.
// Every function writes a terminated text of at most capacity-1 characters
// and returns its length; a null buffer or capacity <= 0 writes nothing.
#pragma once
#include <windows.h>

namespace zq::text {

// How the locale formatter treats the number part of a text.
enum class NumberStyle {
  Integer,       // grouping, no decimals
  Decimal,       // locale decimal separator, no grouping
  GroupDecimal,  // grouping and locale decimal separator
};

// The locale formatting of ZqFormatNumber and its siblings. `decimals` is
// used by GroupDecimal only (-1 = as many as the text has).
int FormatNumberText(const WCHAR* text, WCHAR* out, int capacity, NumberStyle style, int decimals) noexcept;
inline int FormatNumber(const WCHAR* text, WCHAR* out, int capacity) noexcept {
  return FormatNumberText(text, out, capacity, NumberStyle::Integer, 0);
}
inline int FormatDecimalNumber(const WCHAR* text, WCHAR* out, int capacity) noexcept {
  return FormatNumberText(text, out, capacity, NumberStyle::Decimal, -1);
}
inline int FormatGroupDecimalNumber(const WCHAR* text, WCHAR* out, int capacity, int decimals) noexcept {
  return FormatNumberText(text, out, capacity, NumberStyle::GroupDecimal, decimals);
}

int UnsignedToText(ULONGLONG value, bool negative, WCHAR* out, int capacity, bool group) noexcept;
int LongToText(LONG value, WCHAR* out, int capacity, bool group) noexcept;
int DWordToText(DWORD value, WCHAR* out, int capacity, bool group) noexcept;
int LongLongToText(LONGLONG value, WCHAR* out, int capacity, bool group) noexcept;
int DWordLongToText(ULONGLONG value, WCHAR* out, int capacity, bool group) noexcept;
int DoubleToText(WCHAR* out, int capacity, double value, int decimals, bool group) noexcept;

// Capacity of the number exports whose buffers come without one.
constexpr int kNumberTextCapacity = 64;

}  // namespace zq::text
