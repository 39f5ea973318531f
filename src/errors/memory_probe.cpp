#include "errors/memory_probe.h"

#include "core/text_copy.h"

namespace zq::errors {

bool QueryRegion(ULONG_PTR address, Region* region) noexcept {
  MEMORY_BASIC_INFORMATION info;
  if (VirtualQuery(reinterpret_cast<const void*>(address), &info, sizeof(info)) != sizeof(info)) return false;
  constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                              PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
  region->start = reinterpret_cast<ULONG_PTR>(info.BaseAddress);
  region->end = region->start + info.RegionSize;
  region->allocationBase = info.State == MEM_FREE ? 0 : reinterpret_cast<ULONG_PTR>(info.AllocationBase);
  region->readable = info.State == MEM_COMMIT && (info.Protect & kReadable) != 0 &&
                     (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)) == 0;
  return true;
}

bool MemoryProbe::Readable(ULONG_PTR address, int bytes) noexcept {
  for (int i = 0; i < bytes; ++i) {
    const ULONG_PTR at = address + i;
    if (at < address) return false;  // wraps around the address space
    if (!valid_ || at < last_.start || at >= last_.end) {
      valid_ = QueryRegion(at, &last_);
      if (!valid_) return false;
    }
    if (!last_.readable) return false;
  }
  return true;
}

bool ModuleFileName(ULONG_PTR base, char* name, int size) noexcept {
  zq::core::CopyTextA(name, size, "");
  if (!base || !name || size <= 0) return false;
  char path[MAX_PATH + 1];
  DWORD n = GetModuleFileNameA(reinterpret_cast<HMODULE>(base), path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) {
    if (n == 0) return false;
    path[MAX_PATH] = 0;
  }
  const char* file = path;
  for (const char* c = path; *c; ++c)
    if (*c == '\\' || *c == '/') file = c + 1;
  zq::core::CopyTextA(name, size, file);
  return true;
}

}  // namespace zq::errors
