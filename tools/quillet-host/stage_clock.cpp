#include "stage_clock.h"

#include <psapi.h>

namespace tool {

StageClock::StageClock(bool on) : on_(on) {
  if (!on_) return;
  QueryPerformanceFrequency(&frequency_);
  QueryPerformanceCounter(&last_);
}

void StageClock::End(const char* stage) {
  if (!on_) return;
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  stages_.push_back({stage, static_cast<double>(now.QuadPart - last_.QuadPart) / frequency_.QuadPart,
                     counters.WorkingSetSize, counters.PeakWorkingSetSize});
  last_ = now;
}

void StageClock::Print(std::FILE* out, size_t events) const {
  if (!on_) return;
  const double perEvent = events ? 1.0 / static_cast<double>(events) : 0.0;
  double total = 0;
  for (const Stage& s : stages_) total += s.seconds;
  std::fprintf(out, "%-24s %9s %6s %8s %10s %8s %10s\n", "stage", "seconds", "share", "ns/event", "working MB",
               "B/event", "peak B/ev");
  for (const Stage& s : stages_)
    std::fprintf(out, "%-24s %9.3f %5.1f%% %8.1f %10.1f %8.1f %10.1f\n", s.name, s.seconds,
                 total > 0 ? 100.0 * s.seconds / total : 0.0, s.seconds * 1e9 * perEvent, s.workingSet / 1048576.0,
                 static_cast<double>(s.workingSet) * perEvent, static_cast<double>(s.peak) * perEvent);
  std::fprintf(out, "%-24s %9.3f\n", "total", total);
}

}  // namespace tool
