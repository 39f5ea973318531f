// Timer backends: tick count, and the performance counter when present.
#pragma once
#include "zq/kernel.h"

namespace zq::core {

// Installs the performance-counter backend when the system has one and
// starts the library's own stamp.
void TimerStartup() noexcept;

// Pure arithmetic of the performance-counter backend, for a counter of
// `frequency` ticks per second (0 is taken as 1).
struct CounterRates {
  unsigned __int64 frequency;
};
CounterRates RatesFor(unsigned __int64 frequency) noexcept;
DWORD CounterMillis(const CounterRates& rates, unsigned __int64 ticks) noexcept;
DWORD CounterMicros(const CounterRates& rates, unsigned __int64 ticks) noexcept;

}  // namespace zq::core
