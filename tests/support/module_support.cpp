#include "module_support.h"

#include <string>

#include "registry_helpers.h"
#include "test_paths.h"

namespace testsupport {

DWORD Regsvr32(const wchar_t* flags) {
  return RunSystemProgram(std::wstring(L"regsvr32.exe ") + flags + L" \"" + ModulePath() + L"\"");
}

SIZE_T BusyHeapBytes() {
  HANDLE heaps[64];
  const DWORD count = GetProcessHeaps(64, heaps);
  SIZE_T busy = 0;
  for (DWORD i = 0; i < count && i < 64; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry))
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) busy += entry.cbData;
    HeapUnlock(heaps[i]);
  }
  return busy;
}

}  // namespace testsupport
