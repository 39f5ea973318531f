// What the dumps may read: committed, readable memory only, found with the
// system's memory query (a fault is never risked), and which module an
// address belongs to.
#pragma once
#include <windows.h>

namespace zq::errors {

struct Region {
  ULONG_PTR start = 0;           // the region holding the address
  ULONG_PTR end = 0;             // one past it
  ULONG_PTR allocationBase = 0;  // 0 for free memory
  bool readable = false;
};

// False when the address cannot be queried.
bool QueryRegion(ULONG_PTR address, Region* region) noexcept;

class MemoryProbe {
 public:
  bool Readable(ULONG_PTR address, int bytes = 1) noexcept;

 private:
  Region last_;
  bool valid_ = false;
};

// The file name (no folder) of the module loaded at `base`; false (and an
// empty name) when no module is loaded there.
bool ModuleFileName(ULONG_PTR base, char* name, int size) noexcept;

}  // namespace zq::errors
