// Field splitting of the time parsers: fields are the runs of digits of a
// text, every other character separates them.
#pragma once
#include <windows.h>

namespace zq::text::timefields {

struct Field {
  ULONGLONG value;      // saturates at 2^64 - 1
  int digits;           // digits it was read from (1 for an implied zero)
  const WCHAR* begin;   // its first digit (the implied zero: the text's end)
  const WCHAR* end;     // past its last digit
};

constexpr int kMaxFields = 16;  // fields past these are not kept

struct Fields {
  Field item[kMaxFields];
  int count = 0;
  const WCHAR* start = nullptr;  // the first character that is not white space
};

struct Rules {
  // Runs of more than two digits split into pairs from the right (time code).
  bool pairs = false;
  // When there are more than `maxFields` fields, leading fields written with
  // the digit grouping of the locale ("1,234" or "1.234") are joined first.
  int maxFields = 0;
  const WCHAR* groupSeparator = nullptr;
  int groupSize = 0;
};

// Splits `text` (read up to its terminator, never past it). A separator
// after the last digit (anything but a digit or white space) implies a zero
// field after it: "1:" reads as 1 0. A text without digits has no fields.
Fields Split(const WCHAR* text, const Rules& rules) noexcept;

// The character after the first `used` fields; `start` when none is used.
inline const WCHAR* EndAfter(const Fields& f, int used) noexcept {
  return used > 0 ? f.item[used - 1].end : f.start;
}

// Reads up to `units` fields from the left into out[0..units) right-aligned:
// the last field read is out[units - 1], missing leading units are 0.
// Returns the number of fields read.
int RightAligned(const Fields& f, int units, ULONGLONG* out) noexcept;

// The digit grouping of the current locale for Rules.
Rules LocaleGrouping(int maxFields) noexcept;

// Saturating unsigned arithmetic for field values.
ULONGLONG AddSat(ULONGLONG a, ULONGLONG b) noexcept;
ULONGLONG MulSat(ULONGLONG a, ULONGLONG b) noexcept;

}  // namespace zq::text::timefields
