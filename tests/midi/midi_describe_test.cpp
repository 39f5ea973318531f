// Describe-event for the short kinds and system exclusive: every row of the
// field table, every selector, numbers instead of names.
#include <gtest/gtest.h>

#include <vector>

#include "midi_test_support.h"
#include "midi/midi_describe.h"

namespace {

using namespace quillet::midi;
using miditest::Short;

constexpr DWORD N = kNumeric;

struct FieldCase {
  QUILLET_EVENT event;
  DWORD selector;
  const wchar_t* text;  // null: S_FALSE with an empty text
};

void Check(const std::vector<FieldCase>& cases) {
  for (size_t i = 0; i < cases.size(); ++i) {
    const FieldCase& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i << ", type 0x" << std::hex << c.event.type << ", selector 0x"
                                    << c.selector);
    HRESULT hr = E_FAIL;
    std::wstring text = miditest::Describe(c.event, c.selector, &hr);
    EXPECT_EQ(hr, c.text ? S_OK : S_FALSE);
    EXPECT_EQ(text, c.text ? c.text : L"");
  }
}

TEST(MidiDescribe, NotesAndNoteOffs) {
  for (DWORD type : {QEV_NOTE, QEV_NOTE_OFF}) {
    QUILLET_EVENT note = Short(type, 61, 100, 64);
    Check({
        {note, kSummary, L"61 (C#5)"},
        {note, kField1, L"C#5"},
        {note, kField1 | N, L"61"},
        {note, kField2, L"On Velocity (100)"},
        {note, kField2 | N, L"100"},
        {note, kField3, L"Off Velocity (64)"},
        {note, kField3 | N, L"64"},
        {note, kField4, nullptr},  // the duration is the event list's column
        {note, kLabel1, L"N&ote:"},
        {note, kLabel2, L"On &velocity:"},
        {note, kLabel3, L"O&ff velocity:"},
        {note, kLabel4, L"&Duration:"},
        {note, kSummary | N, L"61 (C#5)"},  // the numeric bit belongs to values
        {Short(type, 0, 0, 0), kSummary, L"0 (C0)"},
        {Short(type, 130, 1, 2), kSummary, L"130 ()"},  // no name above 127
        {Short(type, 130, 1, 2), kField1, nullptr},
        {Short(type, 130, 1, 2), kField1 | N, L"130"},
    });
  }
  Check({{Short(QEV_NOTE, 61), kTypeName, L"Note On"}, {Short(QEV_NOTE_OFF, 61), kTypeName, L"Note Off"}});
}

TEST(MidiDescribe, PolyPressureSpellsWithFlats) {
  QUILLET_EVENT e = Short(QEV_POLY_PRESSURE, 61, 90);
  Check({
      {e, kSummary, L"Db5"},
      {e, kField1, L"Db5"},
      {e, kField1 | N, L"61"},
      {e, kField2, L"90"},
      {e, kField3, nullptr},
      {e, kField4, nullptr},
      {e, kLabel1, L"N&ote:"},
      {e, kLabel2, L"&Pressure:"},
      {e, kLabel3, nullptr},
      {e, kLabel4, nullptr},
      {Short(QEV_POLY_PRESSURE, 200, 1), kSummary, nullptr},
      {Short(QEV_POLY_PRESSURE, 200, 1), kField1, nullptr},
      {Short(QEV_POLY_PRESSURE, 200, 1), kField2, L"1"},
  });
}

TEST(MidiDescribe, ControlChanges) {
  QUILLET_EVENT e = Short(QEV_CONTROL, 7, 100);
  Check({
      {e, kSummary, L"Main Volume MSB"},
      {e, kField1, L"7"},
      {e, kField2, L"100"},
      {e, kField3, nullptr},
      {e, kLabel1, L"Co&ntroller:"},
      {e, kLabel2, L"&Value:"},
      {e, kLabel3, nullptr},
      {Short(QEV_CONTROL, 64, 127), kSummary, L"Damper Pedal"},
      {Short(QEV_CONTROL, 127, 0), kSummary, L"Poly Mode On"},
      {Short(QEV_CONTROL, 200, 0), kSummary, L"Undefined CC"},
      {Short(QEV_CONTROL, 200, 0), kField1, L"200"},
  });
}

TEST(MidiDescribe, ProgramChannelPressureAndPitchBend) {
  QUILLET_EVENT program = Short(QEV_PROGRAM, 5);
  QUILLET_EVENT pressure = Short(QEV_CHAN_PRESSURE, 33);
  QUILLET_EVENT bend = Short(QEV_PITCH_BEND, 0, 64);
  Check({
      {program, kSummary, L"5"},
      {program, kField1, nullptr},
      {program, kLabel1, nullptr},
      {pressure, kSummary, L"After Touch"},
      {pressure, kField1, L"33"},
      {pressure, kField2, nullptr},
      {pressure, kLabel1, L"&Pressure:"},
      {pressure, kLabel2, nullptr},
      {bend, kSummary, L"Pitch Bend"},
      {bend, kField1, L"0"},
      {Short(QEV_PITCH_BEND, 0, 0), kField1, L"-8192"},
      {Short(QEV_PITCH_BEND, 127, 127), kField1, L"8191"},
      {bend, kField2, nullptr},
      {bend, kLabel1, L"&Pitch +/-:"},
      {bend, kLabel2, nullptr},
  });
}

TEST(MidiDescribe, PackedParameters) {
  QUILLET_EVENT nrpn = Short(QEV_PACKED_NRPN, 1, 2, 3, 4);  // parameter 130, value 388
  QUILLET_EVENT rpn = Short(QEV_PACKED_RPN, 0, 0, 2, 0);
  Check({
      {nrpn, kSummary, L"130"},
      {nrpn, kField1, L"130"},
      {nrpn, kField2, L"388"},
      {nrpn, kField3, nullptr},
      {nrpn, kLabel1, L"N&RP MSB:"},
      {nrpn, kLabel2, L"NR&P LSB:"},
      {nrpn, kLabel3, L"&Data MSB:"},
      {nrpn, kLabel4, L"Data LSB"},
      {rpn, kSummary, L"Pitch Bend Sensitivity"},
      {rpn, kField1, L"0"},
      {rpn, kField2, L"256"},
      {rpn, kLabel1, nullptr},
      {Short(QEV_PACKED_RPN, 0, 4), kSummary, L"Tuning Bank Select"},
      {Short(QEV_PACKED_RPN, 1, 0), kSummary, L"Unknown RPN"},
      {Short(QEV_PACKED_RPN, 0, 9), kSummary, L"Unknown RPN"},
  });
}

TEST(MidiDescribe, PatchChanges) {
  QUILLET_EVENT patch = Short(QEV_PATCH, 1, 2, 40);
  Check({
      {patch, kSummary, nullptr},
      {patch, kField1, L"MSB: 1"},
      {patch, kField1 | N, L"1"},
      {patch, kField2, L"LSB: 2"},
      {patch, kField2 | N, L"2"},
      {patch, kField3, L"40"},
      {patch, kField4, L"Violin"},
      {patch, kField4 | N, L"40"},
      {patch, kLabel1, L"Bank &MSB:"},
      {patch, kLabel2, L"&Bank LSB:"},
      {patch, kLabel3, L"Pa&tch:"},
      {patch, kLabel4, nullptr},
      {Short(QEV_PATCH, 0, 0, 255), kField4, L"Gunshot"},  // program bits 0-6
  });
}

TEST(MidiDescribe, KindsWithoutFieldsAndUnlistedSelectors) {
  std::vector<FieldCase> cases;
  for (DWORD type : {QEV_NONE, QEV_SHORT_MSG, QEV_MCI, QEV_LONG_MSG, QEV_WAVE})
    for (DWORD selector : {kSummary, kField1, kField4, kLabel1, kLabel4}) cases.push_back({Short(type, 1, 2), selector, nullptr});
  QUILLET_EVENT note = Short(QEV_NOTE, 60, 100);
  for (DWORD selector : {3u, 5u, 0x100u, 0x200u, 0x800u, 0x401u, 0x20000000u, 0xFFFFFFFFu})
    cases.push_back({note, selector, nullptr});
  cases.push_back({note, kTypeName | N, L"Note On"});
  Check(cases);
}

TEST(MidiDescribe, SystemExclusiveNamesMachineControl) {
  const struct {
    DWORD type;
    std::vector<BYTE> block;
    const wchar_t* summary;
  } cases[] = {
      {QEV_SYSEX, {0x7F, 0x7F, 0x06, 0x02, 0xF7}, L"MMC Play"},
      {QEV_SYSEX, {0x7F, 0x7F, 0x06, 0x01, 0xF7}, L"MMC Stop"},
      {QEV_SYSEX, {0x7F, 0x7F, 0x06, 0x55, 0xF7}, L"MMC Record Strobe Variable"},
      {QEV_SYSEX_CONT, {0x7F, 0x10, 0x06, 0x09, 0xF7}, L"MMC Pause"},
      {QEV_SYSEX, {0x7F, 0x7F, 0x06, 0x30, 0xF7}, L"MMC 0x30"},  // unlisted command
      {QEV_SYSEX, {0x7F, 0x7F, 0x07, 0x02, 0xF7}, L"MMC 0x02"},  // a response
      {QEV_SYSEX, {0x7F, 0x7F, 0x06, 0x44, 0x06, 0x01, 0x01, 0x02, 0x03, 0x04, 0x00, 0xF7}, L"MMC Locate"},
      {QEV_SYSEX, {0x7F, 0x7F, 0x05, 0x02, 0xF7}, L"Sysex"},
      {QEV_SYSEX, {0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7}, L"Sysex"},
      {QEV_SYSEX, {0x7F, 0x7F, 0x06, 0x02}, L"Sysex"},
      {QEV_SYSEX, {0x7F}, L"Sysex"},
      {QEV_SYSEX, {}, L"Sysex"},
      {QEV_SYSEX_CONT, {0x01, 0x02}, L"Sysex Continue"},
  };
  for (size_t i = 0; i < ARRAYSIZE(cases); ++i) {
    SCOPED_TRACE(i);
    miditest::GuardedBlock block(cases[i].block);
    QUILLET_EVENT e = miditest::Long(cases[i].type, block);
    HRESULT hr = E_FAIL;
    EXPECT_EQ(miditest::Describe(e, kSummary, &hr), cases[i].summary);
    EXPECT_EQ(hr, S_OK);
    for (DWORD selector : {kField1, kField4, kLabel1, kLabel4}) {
      EXPECT_EQ(miditest::Describe(e, selector, &hr), L"");
      EXPECT_EQ(hr, S_FALSE);
    }
  }
}

TEST(MidiDescribe, BadArguments) {
  QUILLET_EVENT note = Short(QEV_NOTE, 60, 100);
  WCHAR text[8] = L"keep";
  EXPECT_EQ(DescribeEvent(&note, nullptr, 8, kSummary), E_POINTER);
  EXPECT_EQ(DescribeEvent(&note, text, 0, kSummary), E_INVALIDARG);
  EXPECT_EQ(DescribeEvent(&note, text, -1, kSummary), E_INVALIDARG);
  EXPECT_STREQ(text, L"keep");
  EXPECT_EQ(DescribeEvent(nullptr, text, 8, kSummary), E_POINTER);
  EXPECT_STREQ(text, L"");
}

}  // namespace
