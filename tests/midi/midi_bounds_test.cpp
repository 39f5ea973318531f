// Capacities and block lengths: every text producer honours its capacity
// and terminates; no describer reads past a data block that ends where an
// inaccessible page begins.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "hostkit.h"
#include "midi_test_support.h"
#include "midi/midi_describe.h"
#include "midi/midi_names.h"
#include "midi/midi_text.h"
#include "midi/midi_time.h"
#include "zq/timetext.h"

namespace {

using namespace quillet::midi;
using Bytes = std::vector<BYTE>;
using Producer = std::function<void(WCHAR* out, int capacity)>;

constexpr WCHAR kFill = L'#';

// Runs `produce` with capacities 0, 1, the exact fit, one short of it and
// one more, in a buffer with guard characters on both sides.
void CheckCapacities(const char* what, const Producer& produce) {
  SCOPED_TRACE(what);
  WCHAR full[1024];
  produce(full, 1024);
  std::wstring text = full;
  ASSERT_FALSE(text.empty());
  const int length = static_cast<int>(text.size());
  for (int capacity : {0, 1, 2, length - 1, length, length + 1, length + 2}) {
    if (capacity < 0) continue;
    SCOPED_TRACE(capacity);
    std::vector<WCHAR> buffer(capacity + 2, kFill);
    produce(buffer.data() + 1, capacity);
    EXPECT_EQ(buffer.front(), kFill);
    EXPECT_EQ(buffer.back(), kFill) << "wrote past the capacity";
    if (capacity == 0) {
      EXPECT_EQ(buffer[1], kFill) << "wrote into a buffer of capacity 0";
      continue;
    }
    std::wstring got(buffer.data() + 1, capacity);
    size_t end = got.find(L'\0');
    ASSERT_NE(end, std::wstring::npos) << "not terminated";
    got.resize(end);
    if (capacity > length) {
      EXPECT_EQ(got, text);
    } else {
      EXPECT_EQ(got, text.substr(0, got.size()));  // a cut, never other text
    }
    if (capacity == length + 1) {
      EXPECT_EQ(got, text) << "exact fit";
    }
  }
}

TEST(MidiBounds, NameProducersHonourTheirCapacity) {
  CheckCapacities("type name", [](WCHAR* o, int n) { TypeName(QEV_POLY_PRESSURE, o, n); });
  CheckCapacities("controller", [](WCHAR* o, int n) { ControllerName(98, o, n); });
  CheckCapacities("undefined controller", [](WCHAR* o, int n) { ControllerName(300, o, n); });
  CheckCapacities("rpn", [](WCHAR* o, int n) { RpnName(0, 0, o, n); });
  CheckCapacities("voice set", [](WCHAR* o, int n) { VoiceSetName(kVoiceSetXG, o, n); });
  CheckCapacities("unknown voice set", [](WCHAR* o, int n) { VoiceSetName(7, o, n); });
  CheckCapacities("gm voice", [](WCHAR* o, int n) { VoiceName(kVoiceSetGeneralMidi, 24, o, n); });
  CheckCapacities("bank voice", [](WCHAR* o, int n) { VoiceName(kVoiceSetGS, 0x7F7F7F, o, n); });
  CheckCapacities("note", [](WCHAR* o, int n) { NoteName(125, Spelling::Flats, o, n); });
  CheckCapacities("key", [](WCHAR* o, int n) { KeyName(-7, false, o, n); });
  CheckCapacities("mmc", [](WCHAR* o, int n) { MmcCommandName(0x54, o, n); });
  CheckCapacities("record", [](WCHAR* o, int n) { SequencerRecordName(0x42, o, n); });
  CheckCapacities("string", [](WCHAR* o, int n) { CopyString(o, n, 4); });
}

TEST(MidiBounds, DescriptionsHonourTheirCapacity) {
  struct Case {
    const char* what;
    QUILLET_EVENT event;
    DWORD selector;
  };
  const Case cases[] = {
      {"note summary", miditest::Short(QEV_NOTE, 61, 100, 64), kSummary},
      {"velocity", miditest::Short(QEV_NOTE, 61, 100, 64), kField2},
      {"label", miditest::Short(QEV_NOTE, 61, 100, 64), kLabel3},
      {"bank", miditest::Short(QEV_PATCH, 120, 3, 40), kField1},
      {"voice", miditest::Short(QEV_PATCH, 120, 3, 24), kField4},
      {"bend", miditest::Short(QEV_PITCH_BEND, 0, 0), kField1},
      {"type", miditest::Short(QEV_SYSEX_CONT, 0), kTypeName},
  };
  for (const Case& c : cases) {
    CheckCapacities(c.what, [&](WCHAR* o, int n) {
      if (n > 0) DescribeEvent(&c.event, o, n, c.selector);
    });
    // A capacity of 0 or less is refused without a write.
    WCHAR keep[2] = {kFill, kFill};
    EXPECT_EQ(DescribeEvent(&c.event, keep, 0, c.selector), E_INVALIDARG);
    EXPECT_EQ(keep[0], kFill);
  }
  const std::vector<std::pair<Bytes, DWORD>> longCases = {
      {{0x7F, 0x7F, 0x06, 0x54, 0xF7}, kSummary},
      {{0x03, 'T', 'r', 'a', 'c', 'k', ' ', 'o', 'n', 'e'}, kField4},
      {{0x51, 0x0A, 0xAE, 0x60}, kField1},
      {{0x54, 23, 59, 59, 29, 99}, kField1},
      {{0x58, 12, 3}, kField1},
      {{0x7F, 0x00, 0x01, 0x0B, 0x09}, kField4},
  };
  for (const auto& [bytes, selector] : longCases) {
    miditest::GuardedBlock block(bytes);
    QUILLET_EVENT e = miditest::Long(bytes[1] == 0x7F && bytes[0] == 0x7F ? QEV_SYSEX : QEV_META, block);
    CheckCapacities("long event", [&](WCHAR* o, int n) {
      if (n > 0) DescribeEvent(&e, o, n, selector);
    });
  }
}

TEST(MidiBounds, EventTimesHonourTheirCapacity) {
  hostkit::Host* host = hostkit::Host::Create();
  host->SetTiming(480, 500000);
  for (DWORD kind : {DWORD{ZQPOS_MBT}, DWORD{ZQPOS_HMS_MILLIS}, DWORD{ZQPOS_SMPTE_30}, DWORD{ZQPOS_SECONDS}}) {
    CheckCapacities("time", [&](WCHAR* o, int n) {
      if (n > 0) EventTimeText(host, 480 * 4 * 1000 + 7, kind, false, o, n);
    });
  }
  WCHAR keep[2] = {kFill, kFill};
  EXPECT_EQ(EventTimeText(host, 0, ZQPOS_MBT, false, keep, 0), E_INVALIDARG);
  EXPECT_EQ(keep[0], kFill);
  host->Release();
}

std::wstring Dump(const Bytes& bytes, int capacity) {
  std::vector<WCHAR> out(capacity + 1, kFill);
  miditest::GuardedBlock block(bytes);
  int length = HexDump(block.data(), block.size(), out.data(), capacity);
  EXPECT_EQ(out[capacity], kFill) << "wrote past the capacity " << capacity;
  if (capacity == 0) {
    EXPECT_EQ(length, 0);
    return L"<nothing>";
  }
  std::wstring text(out.data());
  EXPECT_EQ(static_cast<int>(text.size()), length);
  return text;
}

TEST(MidiBounds, HexDumpsStopWithAnEllipsisAtTheCapacity) {
  Bytes ten{0, 1, 2, 3, 4, 5, 6, 7, 8, 0xFF};
  const std::wstring full = L"0x00,0x01,0x02,0x03,0x04,0x05,0x06,0x07,0x08,0xFF,";
  EXPECT_EQ(Dump(ten, 51), full);  // exact fit
  EXPECT_EQ(Dump(ten, 200), full);
  EXPECT_EQ(Dump(ten, 50), L"0x00,0x01,0x02,0x03,0x04,0x05,0x06,0x07,0x08,...");
  EXPECT_EQ(Dump(ten, 16), L"0x00,0x01,...");
  EXPECT_EQ(Dump(ten, 4), L"...");
  EXPECT_EQ(Dump(ten, 2), L".");
  EXPECT_EQ(Dump(ten, 1), L"");
  EXPECT_EQ(Dump(ten, 0), L"<nothing>");
  EXPECT_EQ(Dump({}, 10), L"");
  // The same dump as the field of a sequencer-specific meta event.
  miditest::GuardedBlock meta(Bytes{0x7F, 0, 1, 2, 3, 4, 5, 6, 7, 8, 0xFF});
  QUILLET_EVENT e = miditest::Long(QEV_META, meta);
  WCHAR text[64];
  EXPECT_EQ(DescribeEvent(&e, text, 16, kField4), S_OK);
  EXPECT_STREQ(text, L"0x00,0x01,...");
  EXPECT_EQ(DescribeEvent(&e, text, 50, kField4), S_OK);
  EXPECT_EQ(std::wstring(text), full.substr(0, 45) + L"...");
  // At every capacity: whole items of the full dump, then "..." when cut.
  for (int capacity = 4; capacity <= 52; ++capacity) {
    std::wstring text = Dump(ten, capacity);
    if (text == full) continue;
    ASSERT_GE(text.size(), 3u) << capacity;
    EXPECT_EQ(text.substr(text.size() - 3), L"...") << capacity;
    std::wstring items = text.substr(0, text.size() - 3);
    EXPECT_EQ(items.size() % 5, 0u) << capacity;
    EXPECT_EQ(full.compare(0, items.size(), items), 0) << capacity;
  }
}

// Every meta type and system exclusive block of every length up to eight
// bytes, every selector: the block ends at an inaccessible page, so a read
// past it faults.
TEST(MidiBounds, ShortBlocksAreNeverReadPastTheirEnd) {
  std::vector<BYTE> metaTypes = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x20,
                                 0x2F, 0x51, 0x54, 0x58, 0x59, 0x7F, 0x60, 0xFF};
  const DWORD selectors[] = {kSummary, kField1, kField2, kField3, kField4, kLabel1, kLabel2,
                             kLabel3, kLabel4, kTypeName, kField1 | kNumeric, kField4 | kNumeric};
  for (BYTE type : metaTypes) {
    for (size_t length = 0; length <= 8; ++length) {
      Bytes bytes(length, 0x7F);
      if (length) bytes[0] = type;
      if (length > 3) bytes[1] = 0x00, bytes[2] = 0x01, bytes[3] = 0x0B;  // the sequencer's own records
      miditest::GuardedBlock block(bytes);
      for (DWORD kind : {QEV_META, QEV_SYSEX, QEV_SYSEX_CONT}) {
        QUILLET_EVENT e = miditest::Long(kind, block);
        for (DWORD selector : selectors) {
          WCHAR text[64];
          HRESULT hr = DescribeEvent(&e, text, 64, selector);
          EXPECT_TRUE(hr == S_OK || hr == S_FALSE) << std::hex << kind << " " << int(type) << " " << selector;
          EXPECT_LT(wcslen(text), 64u);
          if (hr == S_FALSE) {
            EXPECT_STREQ(text, L"");
          }
        }
      }
    }
  }
  // The guard is in place: the byte after a block is inaccessible.
  MEMORY_BASIC_INFORMATION info{};
  miditest::GuardedBlock probe(Bytes{1, 2, 3});
  ASSERT_NE(VirtualQuery(probe.data() + probe.size(), &info, sizeof info), 0u);
  EXPECT_EQ(info.Protect, static_cast<DWORD>(PAGE_NOACCESS));
  // An empty meta block, a one-byte system exclusive message, a time
  // signature without data bytes.
  miditest::GuardedBlock empty(Bytes{}), oneByte(Bytes{0x7F}), timeSig(Bytes{0x58});
  HRESULT hr = E_FAIL;
  EXPECT_EQ(miditest::Describe(miditest::Long(QEV_META, empty), kSummary, &hr), L"");
  EXPECT_EQ(hr, S_FALSE);
  EXPECT_EQ(miditest::Describe(miditest::Long(QEV_SYSEX, oneByte), kSummary, &hr), L"Sysex");
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(miditest::Describe(miditest::Long(QEV_META, timeSig), kField1, &hr), L"");
  EXPECT_EQ(hr, S_FALSE);
}

}  // namespace
