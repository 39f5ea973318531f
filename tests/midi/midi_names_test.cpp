// The naming tables: kinds and colours, controllers, registered parameters,
// voices and voice sets, notes, keys, machine-control commands; the derived
// values and the copy and clear of events.
#include <gtest/gtest.h>
#include <objbase.h>

#include <cstring>
#include <set>
#include <string>

#include "midi_test_support.h"
#include "midi/midi_describe.h"
#include "midi/midi_event.h"
#include "midi/midi_names.h"

namespace {

using namespace quillet::midi;
using miditest::GuardedBlock;

template <typename Fn>
std::wstring Text(Fn fn) {
  WCHAR out[512];
  wmemset(out, L'#', 512);
  fn(out, 512);
  return out;
}

struct KindCase {
  DWORD type;
  const wchar_t* name;
  COLORREF colour;
};

const KindCase kKindCases[] = {
    {QEV_NONE, L"(None)", CLR_INVALID},
    {QEV_PACKED_NRPN, L"Packed NRPN", 0xB88256},
    {QEV_PACKED_RPN, L"Packed RPN", 0xB88256},
    {QEV_PATCH, L"Patch", 0x429600},
    {QEV_SHORT_MSG, L"Short Msg", CLR_INVALID},
    {QEV_NOTE_OFF, L"Note Off", 0x000000},
    {QEV_NOTE, L"Note On", 0x000000},
    {QEV_POLY_PRESSURE, L"Poly Pressure", 0xB43400},
    {QEV_CONTROL, L"Control Change", 0x96580A},
    {QEV_PROGRAM, L"Program Change", 0x429600},
    {QEV_CHAN_PRESSURE, L"After Touch", 0xB43400},
    {QEV_PITCH_BEND, L"Pitch Bend", 0x965063},
    {QEV_SYSEX, L"Sysex", 0x5B8700},
    {QEV_SYSEX_CONT, L"Sysex Continue", 0x5B8700},
    {QEV_MCI, L"MCI", CLR_INVALID},
    {QEV_LONG_MSG, L"Long Msg", CLR_INVALID},
    {QEV_META, L"Meta", 0x6051A3},
    {QEV_WAVE, L"Wave Data", CLR_INVALID},
};

TEST(MidiKinds, EveryKindHasItsTypeNameAndColour) {
  for (const KindCase& c : kKindCases) {
    SCOPED_TRACE(c.type);
    EXPECT_EQ(Text([&](WCHAR* o, int n) { TypeName(c.type, o, n); }), c.name);
    EXPECT_EQ(EventColour(c.type), c.colour);
    HRESULT hr = E_FAIL;
    EXPECT_EQ(miditest::Describe(miditest::Short(c.type, 0), kTypeName, &hr), c.name);
    EXPECT_EQ(hr, S_OK);
  }
}

TEST(MidiKinds, AnythingButOneKnownBitHasNoNameOrColour) {
  for (DWORD type : {0u, QEV_NOTE | QEV_NOTE_OFF, 0x1000u, 0x8000u, 0x400000u, 0x80000000u}) {
    SCOPED_TRACE(type);
    EXPECT_EQ(Text([&](WCHAR* o, int n) { EXPECT_EQ(TypeName(type, o, n), 0); }), L"");
    EXPECT_EQ(EventColour(type), CLR_INVALID);
    HRESULT hr = E_FAIL;
    EXPECT_EQ(miditest::Describe(miditest::Short(type, 0), kTypeName, &hr), L"");
    EXPECT_EQ(hr, S_FALSE);
    EXPECT_EQ(miditest::Describe(miditest::Short(type, 0), kSummary, &hr), L"");
    EXPECT_EQ(hr, S_FALSE);
  }
}

TEST(MidiNames, ControllersByNumber) {
  const struct {
    int controller;
    const wchar_t* name;
  } cases[] = {
      {0, L"Bank MSB"}, {7, L"Main Volume MSB"}, {20, L"Controller 20"}, {31, L"Controller 31"},
      {38, L"Data LSB"}, {52, L"Controller 52"}, {63, L"Controller 63"}, {64, L"Damper Pedal"},
      {70, L"Timbre Variation"}, {75, L"Sound Controller 6"}, {79, L"Sound Controller 10"},
      {80, L"General Purpose 5"}, {83, L"General Purpose 8"}, {84, L"Portamento Control"},
      {85, L"Controller 85"}, {90, L"Controller 90"}, {91, L"Reverb Depth"}, {95, L"Phaser Depth"},
      {96, L"Data Increment"}, {97, L"Data Deccrement"}, {98, L"Non-Registered Param LSB"},
      {101, L"Registered Param MSB"}, {102, L"Controller 102"}, {119, L"Controller 119"},
      {120, L"All Sound Off"}, {121, L"Reset all controllers"}, {123, L"All Notes Off"},
      {127, L"Poly Mode On"}, {128, L"Undefined CC"}, {255, L"Undefined CC"}, {-1, L"Undefined CC"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.controller);
    EXPECT_EQ(Text([&](WCHAR* o, int n) { ControllerName(c.controller, o, n); }), c.name);
  }
}

TEST(MidiNames, EveryControllerAndVoiceHasItsOwnName) {
  std::set<std::wstring> controllers, voices;
  for (int c = 0; c < 128; ++c) {
    std::wstring name = Text([&](WCHAR* o, int n) { ControllerName(c, o, n); });
    EXPECT_FALSE(name.empty()) << c;
    EXPECT_NE(name, L"Undefined CC") << c;
    controllers.insert(name);
    voices.insert(Text([&](WCHAR* o, int n) { VoiceName(kVoiceSetGeneralMidi, c, o, n); }));
  }
  EXPECT_EQ(controllers.size(), 128u);
  EXPECT_EQ(voices.size(), 128u);
  EXPECT_EQ(voices.count(L""), 0u);
}

TEST(MidiNames, RegisteredParameters) {
  const struct {
    int msb, lsb;
    const wchar_t* name;
  } cases[] = {
      {0, 0, L"Pitch Bend Sensitivity"}, {0, 1, L"Fine Tuning"}, {0, 2, L"Coarse Tuning"},
      {0, 3, L"Tuning Program Select"}, {0, 4, L"Tuning Bank Select"}, {0, 5, L"Unknown RPN"},
      {0, 127, L"Unknown RPN"}, {1, 0, L"Unknown RPN"}, {127, 127, L"Unknown RPN"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.msb << ":" << c.lsb);
    EXPECT_EQ(Text([&](WCHAR* o, int n) { RpnName(c.msb, c.lsb, o, n); }), c.name);
  }
}

TEST(MidiNames, VoicesInGeneralMidiAndOtherSets) {
  const struct {
    DWORD set, voice;
    const wchar_t* name;
  } cases[] = {
      {kVoiceSetGeneralMidi, 0, L"Acoustic Grand Piano"},
      {kVoiceSetGeneralMidi, 40, L"Violin"},
      {kVoiceSetGeneralMidi, 56, L"Trumpet"},
      {kVoiceSetGeneralMidi, 127, L"Gunshot"},
      {kVoiceSetGeneralMidi, 128, L"Acoustic Grand Piano"},    // only bits 0-6 count
      {kVoiceSetGeneralMidi, 0x030201, L"Bright Acoustic Piano"},  // the bank does not
      {kVoiceSetXG, 0x020105, L"257:5"},                       // LSB 1 + 128 x MSB 2
      {kVoiceSetGS, 0x00007F, L"0:127"},
      {0, 0xFFFFFF, L"32895:127"},  // 255 + 128 x 255
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.voice);
    EXPECT_EQ(Text([&](WCHAR* o, int n) { VoiceName(c.set, c.voice, o, n); }), c.name);
  }
}

TEST(MidiNames, VoiceSetsReportUnknownSetsWithSFalse) {
  const struct {
    DWORD set;
    HRESULT hr;
    const wchar_t* name;
  } cases[] = {
      {0x80000001u, S_OK, L"General MIDI Voices"}, {0x80000002u, S_OK, L"Yamaha XG Voices"},
      {0x80000003u, S_OK, L"Roland GS Voices"},    {0x80000000u, S_FALSE, L"Unknown Voice Set"},
      {0x80000004u, S_FALSE, L"Unknown Voice Set"}, {1u, S_FALSE, L"Unknown Voice Set"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.set);
    HRESULT hr = E_FAIL;
    EXPECT_EQ(Text([&](WCHAR* o, int n) { hr = VoiceSetName(c.set, o, n); }), c.name);
    EXPECT_EQ(hr, c.hr);
  }
  WCHAR out[4] = L"xyz";
  EXPECT_EQ(VoiceSetName(kVoiceSetXG, nullptr, 10), E_POINTER);
  EXPECT_EQ(VoiceSetName(kVoiceSetXG, out, 0), E_INVALIDARG);
  EXPECT_STREQ(out, L"xyz");
}

TEST(MidiNames, NotesInBothSpellings) {
  const wchar_t* sharps[] = {L"C", L"C#", L"D", L"D#", L"E", L"F", L"F#", L"G", L"G#", L"A", L"A#", L"B"};
  const wchar_t* flats[] = {L"C", L"Db", L"D", L"Eb", L"E", L"F", L"Gb", L"G", L"Ab", L"A", L"Bb", L"B"};
  for (int pitch = 0; pitch < 12; ++pitch) {
    int note = 48 + pitch;  // octave 4
    EXPECT_EQ(Text([&](WCHAR* o, int n) { NoteName(note, Spelling::Sharps, o, n); }),
              std::wstring(sharps[pitch]) + L"4");
    EXPECT_EQ(Text([&](WCHAR* o, int n) { NoteName(note, Spelling::Flats, o, n); }),
              std::wstring(flats[pitch]) + L"4");
  }
  const struct {
    int note;
    Spelling spelling;
    const wchar_t* name;
  } cases[] = {
      {0, Spelling::Sharps, L"C0"},  {60, Spelling::Sharps, L"C5"},  {61, Spelling::Sharps, L"C#5"},
      {61, Spelling::Flats, L"Db5"}, {127, Spelling::Sharps, L"G10"}, {11, Spelling::Flats, L"B0"},
      {128, Spelling::Sharps, L""},  {255, Spelling::Flats, L""},     {-1, Spelling::Sharps, L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_EQ(Text([&](WCHAR* o, int n) { NoteName(c.note, c.spelling, o, n); }), c.name);
  }
}

TEST(MidiNames, KeysBySharpsAndFlats) {
  const wchar_t* majorSharps[] = {L"C", L"G", L"D", L"A", L"E", L"B", L"F#", L"C#"};
  const wchar_t* minorSharps[] = {L"A", L"E", L"B", L"F#", L"C#", L"G#", L"D#", L"A#"};
  const wchar_t* majorFlats[] = {L"C", L"F", L"Bb", L"Eb", L"Ab", L"Db", L"Gb", L"Cb"};
  const wchar_t* minorFlats[] = {L"A", L"D", L"G", L"C", L"F", L"Bb", L"Eb", L"Ab"};
  for (int count = 0; count <= 7; ++count) {
    SCOPED_TRACE(count);
    EXPECT_EQ(Text([&](WCHAR* o, int n) { KeyName(count, false, o, n); }), majorSharps[count]);
    EXPECT_EQ(Text([&](WCHAR* o, int n) { KeyName(count, true, o, n); }), minorSharps[count]);
    EXPECT_EQ(Text([&](WCHAR* o, int n) { KeyName(-count, false, o, n); }), majorFlats[count]);
    EXPECT_EQ(Text([&](WCHAR* o, int n) { KeyName(-count, true, o, n); }), minorFlats[count]);
  }
  for (int count : {8, -8, 127, -128}) {
    EXPECT_EQ(Text([&](WCHAR* o, int n) { EXPECT_EQ(KeyName(count, false, o, n), 0); }), L"") << count;
  }
}

TEST(MidiNames, MachineControlCommands) {
  const struct {
    int command;
    const wchar_t* name;
  } cases[] = {
      {0x01, L"Stop"}, {0x02, L"Play"}, {0x03, L"Deferred Play"}, {0x04, L"Fast Forward"},
      {0x05, L"Rewind"}, {0x06, L"Record Strobe"}, {0x07, L"Record Exit"}, {0x08, L"Record Pause"},
      {0x09, L"Pause"}, {0x0A, L"Eject"}, {0x0B, L"Chase"}, {0x0C, L"Command Error Reset"},
      {0x0D, L"Reset"}, {0x44, L"Locate"}, {0x45, L"Variable Play"}, {0x46, L"Search"},
      {0x47, L"Shuttle"}, {0x48, L"Step"}, {0x54, L"Deferred Variable Play"},
      {0x55, L"Record Strobe Variable"}, {0x00, L""}, {0x0E, L""}, {0x43, L""}, {0x7F, L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    EXPECT_EQ(Text([&](WCHAR* o, int n) { MmcCommandName(c.command, o, n); }), c.name);
  }
}

TEST(MidiEvents, MachineControlTests) {
  const struct {
    DWORD type;
    std::vector<BYTE> block;
    bool mmc, transport;
  } cases[] = {
      {QEV_SYSEX, {0x7F, 0x7F, 0x06, 0x02, 0xF7}, true, true},
      {QEV_SYSEX_CONT, {0x7F, 0x00, 0x06, 0x09, 0xF7}, true, true},
      {QEV_SYSEX, {0x7F, 0x7F, 0x06, 0x01, 0xF7}, true, true},
      {QEV_SYSEX, {0x7F, 0x7F, 0x06, 0x0A, 0xF7}, true, false},
      {QEV_SYSEX, {0x7F, 0x7F, 0x06, 0x00, 0xF7}, true, false},
      {QEV_SYSEX, {0x7F, 0x7F, 0x07, 0x02, 0xF7}, true, true},
      {QEV_SYSEX, {0x7F, 0x7F, 0x06, 0x44, 0x06, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF7}, true, false},
      {QEV_SYSEX, {0x7F, 0x7F, 0x05, 0x02, 0xF7}, false, false},   // another sub-id
      {QEV_SYSEX, {0x7E, 0x7F, 0x06, 0x02, 0xF7}, false, false},   // not real-time universal
      {QEV_SYSEX, {0x7F, 0x7F, 0x06, 0x02, 0xF0}, false, false},   // no end mark
      {QEV_SYSEX, {0x7F, 0x7F, 0x06, 0xF7}, false, false},         // four bytes
      {QEV_SYSEX, {0x7F}, false, false},
      {QEV_SYSEX, {}, false, false},
      {QEV_META, {0x7F, 0x7F, 0x06, 0x02, 0xF7}, false, false},    // not a sysex kind
      {QEV_LONG_MSG, {0x7F, 0x7F, 0x06, 0x02, 0xF7}, false, false},
  };
  for (size_t i = 0; i < ARRAYSIZE(cases); ++i) {
    SCOPED_TRACE(i);
    GuardedBlock block(cases[i].block);
    QUILLET_EVENT e = miditest::Long(cases[i].type, block);
    EXPECT_EQ(quillet::IsMmc(e), cases[i].mmc);
    EXPECT_EQ(quillet::IsMmcTransport(e), cases[i].transport);
  }
  QUILLET_EVENT noBlock = miditest::Short(QEV_SYSEX, 0x7F);
  noBlock.packed = 0;
  noBlock.dataLength = 5;  // a length without a block
  EXPECT_FALSE(quillet::IsMmc(noBlock));
}

TEST(MidiEvents, DerivedValues) {
  const struct {
    BYTE lsb, msb;
    int bend;
  } bends[] = {{0, 64, 0}, {0, 0, -8192}, {127, 127, 8191}, {1, 64, 1}, {127, 63, -1}, {0xFF, 0xFF, 8191}};
  for (const auto& c : bends) {
    EXPECT_EQ(quillet::PitchBend(miditest::Short(QEV_PITCH_BEND, c.lsb, c.msb)), c.bend)
        << int(c.lsb) << " " << int(c.msb);
  }
  QUILLET_EVENT nrpn = miditest::Short(QEV_PACKED_NRPN, 0x01, 0x02, 0x03, 0x04);
  EXPECT_EQ(quillet::ParameterNumber(nrpn), 130);
  EXPECT_EQ(quillet::PackedValue(nrpn), 388);
  QUILLET_EVENT wide = miditest::Short(QEV_PACKED_NRPN, 0xFF, 0x7F, 0x7F, 0x7F);
  EXPECT_EQ(quillet::ParameterNumber(wide), 0x3FFF);  // masked to 14 bits
  EXPECT_EQ(quillet::PackedValue(wide), 0x3FFF);
}

TEST(MidiEvents, CopyDuplicatesTheBlockAndClearEmptiesTheRecord) {
  CoInitialize(nullptr);
  QUILLET_EVENT source{};
  source.type = QEV_SYSEX;
  source.channel = 3;
  source.time = 1234;
  source.dataLength = 3;
  source.data = static_cast<BYTE*>(CoTaskMemAlloc(3));
  memcpy(source.data, "\x7F\x01\xF7", 3);
  QUILLET_EVENT copy{};
  ASSERT_EQ(quillet::CopyEvent(&copy, &source), S_OK);
  ASSERT_NE(copy.data, source.data);
  EXPECT_EQ(memcmp(copy.data, source.data, 3), 0);
  EXPECT_EQ(copy.time, 1234);
  EXPECT_EQ(copy.channel, 3);
  quillet::ClearEvent(&source);  // the copy keeps its own block
  EXPECT_EQ(source.type, QEV_NONE);
  EXPECT_EQ(source.data, nullptr);
  EXPECT_EQ(source.dataLength, 0u);
  EXPECT_EQ(memcmp(copy.data, "\x7F\x01\xF7", 3), 0);
  EXPECT_EQ(quillet::CopyEvent(&copy, &copy), S_OK);  // onto itself: nothing changes
  EXPECT_EQ(memcmp(copy.data, "\x7F\x01\xF7", 3), 0);
  quillet::ClearEvent(&copy);
  EXPECT_EQ(copy.type, QEV_NONE);

  QUILLET_EVENT shortEvent = miditest::Short(QEV_CONTROL, 7, 100), shortCopy{};
  EXPECT_EQ(quillet::CopyEvent(&shortCopy, &shortEvent), S_OK);
  EXPECT_EQ(memcmp(&shortCopy, &shortEvent, sizeof shortEvent), 0);
  EXPECT_EQ(quillet::CopyEvent(nullptr, &shortEvent), E_POINTER);
  EXPECT_EQ(quillet::CopyEvent(&shortCopy, nullptr), E_POINTER);
  quillet::ClearEvent(nullptr);
  CoUninitialize();
}

}  // namespace
