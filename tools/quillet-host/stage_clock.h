// Where a run's time and memory go: each stage's wall time, and the
// process's working set and its peak so far when the stage ended.
#pragma once
#include <windows.h>

#include <cstdio>
#include <vector>

namespace tool {

class StageClock {
 public:
  explicit StageClock(bool on);
  // The stage that ran since the clock started or since the last call.
  void End(const char* stage);
  // A table of the stages; `events` gives the bytes per event columns.
  void Print(std::FILE* out, size_t events) const;

 private:
  struct Stage {
    const char* name;
    double seconds;
    SIZE_T workingSet, peak;
  };
  bool on_;
  LARGE_INTEGER frequency_{}, last_{};
  std::vector<Stage> stages_;
};

}  // namespace tool
