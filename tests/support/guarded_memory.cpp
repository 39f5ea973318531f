#include "guarded_memory.h"

#include <cstring>

namespace testsupport {

GuardedMemory::GuardedMemory(size_t bytes) {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  const size_t page = info.dwPageSize;
  const size_t pages = (bytes + page - 1) / page + 1;
  base_ = static_cast<BYTE*>(VirtualAlloc(nullptr, pages * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  if (!base_) return;
  usable_ = (pages - 1) * page;
  guard_ = base_ + usable_;
  DWORD old = 0;
  guarded_ = VirtualProtect(guard_, page, PAGE_NOACCESS, &old) != FALSE;
}

GuardedMemory::~GuardedMemory() {
  if (base_) VirtualFree(base_, 0, MEM_RELEASE);
}

const WCHAR* GuardedMemory::Place(const std::wstring& text) {
  WCHAR* at = reinterpret_cast<WCHAR*>(guard_) - (text.size() + 1);
  memcpy(at, text.c_str(), (text.size() + 1) * sizeof(WCHAR));
  return at;
}

BYTE* GuardedMemory::PlaceBytes(const std::vector<BYTE>& bytes) {
  BYTE* at = guard_ - bytes.size();
  if (!bytes.empty()) memcpy(at, bytes.data(), bytes.size());
  return at;
}

}  // namespace testsupport
