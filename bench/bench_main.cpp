#include <cstdio>
#include <cstring>

#include "bench.h"

namespace bench {

std::vector<Entry>& Registry() {
  static std::vector<Entry> entries;
  return entries;
}

double Time(const std::function<void()>& prepare, const std::function<void()>& work, int rounds) {
  LARGE_INTEGER frequency, start, stop;
  QueryPerformanceFrequency(&frequency);
  double best = 1e30;
  for (int i = 0; i < rounds; ++i) {
    prepare();
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&stop);
    double seconds = static_cast<double>(stop.QuadPart - start.QuadPart) / frequency.QuadPart;
    if (seconds < best) best = seconds;
  }
  return best;
}

Pair TimePair(const std::function<void()>& ours, const std::function<void()>& theirs, int rounds) {
  ours();
  theirs();
  Pair best{1e30, 1e30};
  for (int i = 0; i < rounds; ++i) {
    // The side that starts a round changes from round to round.
    bool oursFirst = i % 2 == 0;
    for (int side = 0; side < 2; ++side) {
      bool isOurs = (side == 0) == oursFirst;
      double seconds = Time([] {}, isOurs ? ours : theirs, 1);
      double& slot = isOurs ? best.ours : best.theirs;
      if (seconds < slot) slot = seconds;
    }
  }
  return best;
}

void Report(const std::string& name, double ours, double baseline, const std::string& baselineName) {
  std::printf("%-46s %10.2f ms   %-26s %10.2f ms   ratio %.2f\n", name.c_str(), ours * 1000, baselineName.c_str(),
              baseline * 1000, baseline > 0 ? ours / baseline : 0.0);
  std::fflush(stdout);
}

}  // namespace bench

// Runs every entry, or those whose name contains the first argument.
int main(int argc, char** argv) {
  std::printf("%-46s %13s   %-26s %13s   %s\n", "benchmark", "Zq", "baseline", "", "Zq / baseline");
  for (const auto& entry : bench::Registry()) {
    if (argc > 1 && !std::strstr(entry.name, argv[1])) continue;
    entry.run();
  }
  return 0;
}
