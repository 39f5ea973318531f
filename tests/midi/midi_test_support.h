// Shared pieces of the MIDI vocabulary tests.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "guarded_memory.h"
#include "quillet/event.h"

namespace miditest {

// A data block that ends where an inaccessible page begins: any read past
// its last byte faults.
class GuardedBlock {
 public:
  explicit GuardedBlock(const std::vector<BYTE>& bytes);
  BYTE* data() const { return data_; }
  DWORD size() const { return size_; }

 private:
  testsupport::GuardedMemory memory_;
  BYTE* data_ = nullptr;
  DWORD size_ = 0;
};

// A short event with up to four data bytes.
QUILLET_EVENT Short(DWORD type, BYTE b0, BYTE b1 = 0, BYTE b2 = 0, BYTE b3 = 0);
// A long event pointing at `block` (not owned: never cleared by the tests).
QUILLET_EVENT Long(DWORD type, const GuardedBlock& block);

// DescribeEvent into a large buffer; `hr` receives its result.
std::wstring Describe(const QUILLET_EVENT& e, DWORD selector, HRESULT* hr);

}  // namespace miditest
