// Counter ticks to milliseconds and microseconds. All results wrap modulo
// 2^32; the arithmetic is 64-bit throughout so that no intermediate value
// overflows and no division by zero can happen on a slow counter.
#include "core/timer.h"

namespace zq::core {
namespace {
constexpr unsigned __int64 kMicrosPerSecond = 1000000;

// a * b / c rounded to nearest, without overflowing for a * b >= 2^64.
unsigned __int64 MulDivRound(unsigned __int64 a, unsigned __int64 b, unsigned __int64 c) {
  unsigned __int64 whole = a / c, rest = a % c;
  return whole * b + (rest * b + c / 2) / c;
}
// a * b / c truncated, likewise.
unsigned __int64 MulDivTrunc(unsigned __int64 a, unsigned __int64 b, unsigned __int64 c) {
  unsigned __int64 whole = a / c, rest = a % c;
  return whole * b + rest * b / c;
}
}  // namespace

CounterRates RatesFor(unsigned __int64 frequency) noexcept {
  CounterRates r{};
  r.frequency = frequency ? frequency : 1;
  r.ticksPerMs = r.frequency / 1000;
  r.ticksPerUs = r.frequency / kMicrosPerSecond;
  if (r.ticksPerUs) {
    unsigned __int64 q = r.frequency / r.ticksPerUs;
    r.correction = q == kMicrosPerSecond ? 0 : q;
  }
  return r;
}

DWORD CounterMillis(const CounterRates& r, unsigned __int64 ticks) noexcept {
  if (r.ticksPerMs) return static_cast<DWORD>(ticks / r.ticksPerMs);
  return static_cast<DWORD>(MulDivTrunc(ticks, 1000, r.frequency));  // counter slower than 1 kHz
}

DWORD CounterMicros(const CounterRates& r, unsigned __int64 ticks) noexcept {
  if (!r.ticksPerUs)  // counter slower than 1 MHz
    return static_cast<DWORD>(MulDivTrunc(ticks, kMicrosPerSecond, r.frequency));
  unsigned __int64 value = ticks / r.ticksPerUs;
  if (r.correction) value = MulDivRound(value, kMicrosPerSecond, r.correction);
  return static_cast<DWORD>(value);
}

}  // namespace zq::core
