// Time code inside the library: the rate table, the conversions behind the
// SMPTE exports and the arithmetic on nano time they share with the time
// position text.
#pragma once
#include <windows.h>

#include <climits>
#include <cmath>

#include "zq/smpte.h"

namespace zq::text::smpte {

struct Rate {
  DWORD label;      // labels per second (30, 25 or 24)
  double real;      // frames per second
  DWORD dayFrames;  // frames of a 24-hour day: the wrap modulus
  bool drop;        // labelled as 29.97 drop-frame
  bool known;       // one of the types 1-6
};

// Type 0 and unknown types: label rate 30, real rate 30, labelled by the
// drop-frame rule.
const Rate& RateOf(DWORD type) noexcept;

constexpr DWORD kDropFrameDay = 2589408;  // 24 x (108,000 - 108) labels

// The label of frame `count` (any value; reduced into the day of the
// value's type).
void FromFrameCount(ZQSMPTEVAL& value, LONGLONG count) noexcept;
DWORD ToFrameCount(const ZQSMPTEVAL& value) noexcept;
void FromNanos(LONGLONG nanos, ZQSMPTEVAL& value) noexcept;
LONGLONG ToNanos(const ZQSMPTEVAL& value) noexcept;

// Reads typed time code into `value` (see ZQSMPTE_TextToSMPTE); `units` is
// 4 (hours, minutes, seconds, frames) or 3 (hours, minutes, seconds: the
// frames stay 0). Returns the character after the last field used.
const WCHAR* ParseText(const WCHAR* text, ZQSMPTEVAL& value, int units) noexcept;

// ---- nano time arithmetic ----------------------------------------------

constexpr double kUnitsPerSecond = 10000000.0;
// The most negative value marks a time that nano time cannot hold.
constexpr LONGLONG kNanoOutOfRange = LLONG_MIN;

// A finite number above zero (rates, tempos).
inline bool IsPositive(double x) noexcept { return std::isfinite(x) && x > 0.0; }

// x truncated toward zero; kNanoOutOfRange when it does not fit (or is NaN).
inline LONGLONG TruncToNano(double x) noexcept {
  if (!(x > -9223372036854775808.0 && x < 9223372036854775808.0)) return kNanoOutOfRange;
  return static_cast<LONGLONG>(x);
}

// Floor division and its non-negative remainder (d > 0).
inline LONGLONG FloorDiv(LONGLONG n, LONGLONG d) noexcept {
  LONGLONG q = n / d;
  return (n % d != 0 && n < 0) ? q - 1 : q;
}
inline LONGLONG FloorMod(LONGLONG n, LONGLONG d) noexcept {
  LONGLONG r = n % d;
  return r < 0 ? r + d : r;
}

// x truncated toward zero into `whole` when it lies strictly between -2^31
// and 2^31: one SSE conversion, where a 64-bit result costs an x87 round
// trip with two control-word loads on this target. False otherwise (NaN
// too), `whole` untouched.
inline bool TruncToLong(double x, LONG& whole) noexcept {
  if (!(x > -2147483648.0 && x < 2147483648.0)) return false;
  whole = static_cast<LONG>(x);
  return true;
}

// Whole seconds and the units left over of a time from 0 to 2^31 seconds,
// without a 64-bit division (a library call on this target): the double's
// quotient is at most one off and the remainder puts it right. False for
// other times, the outputs untouched.
inline bool SplitSeconds(LONGLONG nanos, DWORD& seconds, DWORD& units) noexcept {
  constexpr LONGLONG kUnits = 10000000;
  LONG q;
  if (nanos < 0 || !TruncToLong(static_cast<double>(nanos) * 1e-7, q)) return false;
  DWORD s = static_cast<DWORD>(q);
  LONGLONG r = nanos - static_cast<LONGLONG>(s) * kUnits;
  if (r < 0) {
    --s;
    r += kUnits;
  } else if (r >= kUnits) {
    ++s;
    r -= kUnits;
  }
  seconds = s;
  units = static_cast<DWORD>(r);
  return true;
}

}  // namespace zq::text::smpte
