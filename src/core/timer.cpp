// The active timer backend and the exported timer operations.
#include <atomic>

#include "core/timer.h"

namespace zq::core {
namespace {

struct Backend {
  unsigned __int64 (*now)();
  DWORD (*millis)(unsigned __int64 ticks);
  DWORD (*micros)(unsigned __int64 ticks);
  bool wraps32;  // only the low 32 bits of a stamp count
};

CounterRates g_rates{};

unsigned __int64 TickNow() { return GetTickCount(); }
DWORD TickMillis(unsigned __int64 ticks) { return static_cast<DWORD>(ticks); }
DWORD TickMicros(unsigned __int64 ticks) { return static_cast<DWORD>(ticks) * 1000u; }

unsigned __int64 CounterNow() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<unsigned __int64>(now.QuadPart);
}
DWORD CounterMs(unsigned __int64 ticks) { return CounterMillis(g_rates, ticks); }
DWORD CounterUs(unsigned __int64 ticks) { return CounterMicros(g_rates, ticks); }

constexpr Backend kTickBackend{TickNow, TickMillis, TickMicros, true};
constexpr Backend kCounterBackend{CounterNow, CounterMs, CounterUs, false};

std::atomic<const Backend*> g_backend{&kTickBackend};
ZQTIMESTAMP g_libraryStamp = 0;
bool g_lateDone = false;

unsigned __int64 Elapsed(const Backend* b, ZQTIMESTAMP stamp, unsigned __int64 now) {
  if (b->wraps32) return static_cast<DWORD>(static_cast<DWORD>(now) - static_cast<DWORD>(stamp));
  return now - stamp;
}

}  // namespace

void TimerStartup() noexcept {
  LARGE_INTEGER frequency;
  if (QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0) {
    g_rates = RatesFor(static_cast<unsigned __int64>(frequency.QuadPart));
    g_backend = &kCounterBackend;
  } else {
    g_backend = &kTickBackend;
  }
  g_libraryStamp = g_backend.load()->now();
}

}  // namespace zq::core

using zq::core::g_backend;

ZQAPI DWORD WINAPI ZqTimer_LateInitialize(void) noexcept {
  zq::core::g_lateDone = true;
  return 0;
}

ZQAPI DWORD WINAPI ZqGetMillisec(void) noexcept { return ZqGetMillisecEx(&zq::core::g_libraryStamp); }
ZQAPI DWORD WINAPI ZqGetMicrosec(void) noexcept { return ZqGetMicrosecEx(&zq::core::g_libraryStamp); }

namespace {
// Milliseconds or microseconds since `stamp`; a Delta also restarts it.
DWORD Measure(const ZQTIMESTAMP* stamp, bool micro, ZQTIMESTAMP* restart) {
  if (!stamp) return 0;
  const auto* b = g_backend.load();
  unsigned __int64 now = b->now();
  unsigned __int64 elapsed = zq::core::Elapsed(b, *stamp, now);
  if (restart) *restart = now;
  return micro ? b->micros(elapsed) : b->millis(elapsed);
}
}  // namespace

ZQAPI DWORD WINAPI ZqGetMillisecEx(const ZQTIMESTAMP* stamp) noexcept { return Measure(stamp, false, nullptr); }
ZQAPI DWORD WINAPI ZqGetMicrosecEx(const ZQTIMESTAMP* stamp) noexcept { return Measure(stamp, true, nullptr); }
ZQAPI DWORD WINAPI ZqDeltaMillisecEx(ZQTIMESTAMP* stamp) noexcept { return Measure(stamp, false, stamp); }
ZQAPI DWORD WINAPI ZqDeltaMicrosecEx(ZQTIMESTAMP* stamp) noexcept { return Measure(stamp, true, stamp); }
