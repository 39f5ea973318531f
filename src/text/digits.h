// Digit writers: integers and fixed-point decimals as plain digits (only
// "-" and "."), exactly rounded, without the C run-time or the locale. The
// printer, number text and time text build their numbers from these.
#pragma once
#include <windows.h>

namespace zq::text::digits {

// Room for the longest integer: 22 octal digits of a 64-bit value.
constexpr int kIntegerRoom = 24;

// Writes the digits of `value` in base 8, 10 or 16 (letters upper case
// when asked) so that they end just before `end`; returns where they start.
WCHAR* UnsignedBackward(ULONGLONG value, WCHAR* end, int base = 10, bool upper = false) noexcept;

// The digits of `value` at `out` (at least kIntegerRoom characters), not
// terminated; returns their count.
int Unsigned(ULONGLONG value, WCHAR* out, int base = 10, bool upper = false) noexcept;

// `value` with `precision` decimals, rounded exactly as its binary value
// lies ("-" before a negative value, negative zero included), terminated.
// Returns the length, or -1 when the value is not finite or the text needs
// `capacity` characters or more.
int Fixed(double value, int precision, WCHAR* out, int capacity) noexcept;

// Appends `length` digits (a "-" first for a negative value) to `out`,
// with `separator` between groups of `grouping` digits counted from the
// right (grouping 0: none). Returns the characters written; `out` must
// have room for them.
int Grouped(const WCHAR* digitText, int length, bool negative, int grouping, const WCHAR* separator,
            WCHAR* out) noexcept;

}  // namespace zq::text::digits
