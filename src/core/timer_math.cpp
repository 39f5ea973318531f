// Counter ticks to milliseconds and microseconds. The conversion is exact
// (ticks * unit / frequency, truncated) for a counter of any frequency:
// no division by zero on slow counters, no drift on counters whose
// frequency is not a whole number of ticks per unit. Results wrap modulo 2^32.
#include "core/timer.h"

namespace zq::core {
namespace {
// a * b / c truncated, without overflowing for a * b >= 2^64 (b < 2^32).
unsigned __int64 MulDiv64(unsigned __int64 a, unsigned __int64 b, unsigned __int64 c) {
  unsigned __int64 whole = a / c, rest = a % c;
  return whole * b + rest * b / c;
}
}  // namespace

CounterRates RatesFor(unsigned __int64 frequency) noexcept { return {frequency ? frequency : 1}; }

DWORD CounterMillis(const CounterRates& r, unsigned __int64 ticks) noexcept {
  return static_cast<DWORD>(MulDiv64(ticks, 1000, r.frequency));
}

DWORD CounterMicros(const CounterRates& r, unsigned __int64 ticks) noexcept {
  return static_cast<DWORD>(MulDiv64(ticks, 1000000, r.frequency));
}

}  // namespace zq::core
