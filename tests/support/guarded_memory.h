// Memory followed by a page that cannot be read or written: whatever a test
// places right before the guard page faults at once if code reads or
// writes one unit past its end.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

class GuardedMemory {
 public:
  // At least `bytes` usable bytes before the guard page.
  explicit GuardedMemory(size_t bytes = 1);
  ~GuardedMemory();
  GuardedMemory(const GuardedMemory&) = delete;
  GuardedMemory& operator=(const GuardedMemory&) = delete;

  bool Ready() const { return guarded_; }
  // Characters of the longest text Place() can take, terminator excluded.
  size_t MaxLength() const { return usable_ / sizeof(WCHAR) - 1; }
  // `text` with its terminator as the last character before the guard page.
  const WCHAR* Place(const std::wstring& text);
  // `bytes` ending right at the guard page.
  BYTE* PlaceBytes(const std::vector<BYTE>& bytes);
  // A writable area of `capacity` characters that ends at the guard page.
  WCHAR* Output(int capacity) { return reinterpret_cast<WCHAR*>(guard_) - capacity; }

 private:
  BYTE* base_ = nullptr;
  BYTE* guard_ = nullptr;
  size_t usable_ = 0;
  bool guarded_ = false;
};

}  // namespace testsupport
