#include "midi_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <new>

#include "module/library_startup.h"
#include "midi/midi_describe.h"

namespace miditest {

GuardedBlock::GuardedBlock(const std::vector<BYTE>& bytes)
    : memory_(bytes.size()), size_(static_cast<DWORD>(bytes.size())) {
  if (!memory_.Ready()) throw std::bad_alloc();
  data_ = memory_.PlaceBytes(bytes);
}

QUILLET_EVENT Short(DWORD type, BYTE b0, BYTE b1, BYTE b2, BYTE b3) {
  QUILLET_EVENT e{};
  e.type = type;
  e.bytes[0] = b0;
  e.bytes[1] = b1;
  e.bytes[2] = b2;
  e.bytes[3] = b3;
  return e;
}

QUILLET_EVENT Long(DWORD type, const GuardedBlock& block) {
  QUILLET_EVENT e{};
  e.type = type;
  e.dataLength = block.size();
  e.data = block.data();
  return e;
}

std::wstring Describe(const QUILLET_EVENT& e, DWORD selector, HRESULT* hr) {
  WCHAR text[1024];
  wmemset(text, L'#', 1024);
  *hr = quillet::midi::DescribeEvent(&e, text, 1024, selector);
  return text;
}

namespace {

// The library runs as it does in the module, with this program's
// resources (the MIDI string table) as the module's.
class LibraryEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(quillet::LibraryStartup(GetModuleHandleW(nullptr))); }
  void TearDown() override { quillet::LibraryShutdown(); }
};

const auto* g_environment = ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

}  // namespace
}  // namespace miditest
