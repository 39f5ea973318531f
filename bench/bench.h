// A small benchmark runner: every figure is printed as a ratio to a
// baseline measured in the same run.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace bench {

// Seconds taken by `work`, best of `rounds` runs (`prepare` runs untimed first).
double Time(const std::function<void()>& prepare, const std::function<void()>& work, int rounds = 3);

// Best seconds of `ours` and of `theirs`, timed in alternating rounds
// after one untimed run of each: neither side meets a colder cache or a
// busier moment of the machine by going first.
struct Pair {
  double ours, theirs;
};
Pair TimePair(const std::function<void()>& ours, const std::function<void()>& theirs, int rounds = 15);

// Prints "name  ours  baseline  ratio" with the ratio ours / baseline.
void Report(const std::string& name, double ours, double baseline, const std::string& baselineName);

struct Entry {
  const char* name;
  void (*run)();
};
std::vector<Entry>& Registry();
struct Registrar {
  Registrar(const char* name, void (*run)()) { Registry().push_back({name, run}); }
};

}  // namespace bench

#define BENCHMARK_ENTRY(name, fn) static bench::Registrar bench_registrar_##fn(name, fn)
