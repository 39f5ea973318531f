// Meta events: every meta type with its summary, values and labels, and the
// blocks too short for what a type reads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "midi_test_support.h"
#include "midi/midi_describe.h"

namespace {

using namespace quillet::midi;
using Bytes = std::vector<BYTE>;

struct MetaCase {
  Bytes block;
  DWORD selector;
  const wchar_t* text;  // null: S_FALSE with an empty text
};

void Check(const std::vector<MetaCase>& cases) {
  for (size_t i = 0; i < cases.size(); ++i) {
    const MetaCase& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i << ", " << c.block.size() << " bytes, selector 0x" << std::hex
                                    << c.selector);
    miditest::GuardedBlock block(c.block);
    HRESULT hr = E_FAIL;
    std::wstring text = miditest::Describe(miditest::Long(QEV_META, block), c.selector, &hr);
    EXPECT_EQ(hr, c.text ? S_OK : S_FALSE);
    EXPECT_EQ(text, c.text ? c.text : L"");
  }
}

Bytes TextMeta(BYTE type, const char* text) {
  Bytes b{type};
  for (const char* c = text; *c; ++c) b.push_back(static_cast<BYTE>(*c));
  return b;
}

TEST(MidiMeta, SequenceNumberAndTextEvents) {
  Check({
      {{0x00, 0x01, 0x02}, kSummary, L"Sequence Number"},
      {{0x00, 0x01, 0x02}, kField1, L"258"},
      {{0x00, 0x01, 0x02}, kLabel1, L"Seq Num"},
      {{0x00, 0x01, 0x02}, kLabel4, nullptr},
      {{0x00, 0x01}, kField1, nullptr},  // one data byte short
      {{0x00}, kSummary, L"Sequence Number"},
      {TextMeta(0x01, "Verse"), kSummary, L"Text Event"},
      {TextMeta(0x01, "Verse"), kField4, L"Verse"},
      {TextMeta(0x01, "Verse"), kLabel4, L"Te&xt event:"},
      {TextMeta(0x01, "Verse"), kLabel1, nullptr},
      {TextMeta(0x01, "Verse"), kField1, nullptr},
      {TextMeta(0x02, "(c) 2024"), kSummary, L"Copyright Notice"},
      {TextMeta(0x02, "(c) 2024"), kField4, L"(c) 2024"},
      {TextMeta(0x02, "(c) 2024"), kLabel4, L"&Copyright Notice:"},
      {TextMeta(0x03, "Bass"), kSummary, L"Sequence Name"},
      {TextMeta(0x03, "Bass"), kField4, L"Bass"},
      {TextMeta(0x03, "Bass"), kLabel4, L"Track Name"},
      {TextMeta(0x04, "Piano"), kSummary, L"Instrument Name"},
      {TextMeta(0x04, "Piano"), kLabel4, L"Instrument Name"},
      {TextMeta(0x05, "la"), kSummary, L"Lyric"},
      {TextMeta(0x05, "la"), kField4, L"la"},
      {TextMeta(0x05, "la"), kLabel4, L"Lyric"},
      {TextMeta(0x06, "A"), kLabel4, L"Marker"},
      {TextMeta(0x06, "A"), kSummary, L"Marker"},
      {TextMeta(0x07, "go"), kSummary, L"Cue Point"},
      {TextMeta(0x07, "go"), kLabel4, L"Cue Point"},
      {{0x06}, kField4, nullptr},  // a text event without text
      {{0x06}, kSummary, L"Marker"},
  });
}

TEST(MidiMeta, TextIsCutAt259BytesAndReadInTheAnsiCodePage) {
  std::string longText(300, 'a');
  Check({{TextMeta(0x01, longText.c_str()), kField4, std::wstring(259, L'a').c_str()}});
  if (GetACP() == 1252) Check({{{0x03, 'C', 'a', 'f', 0xE9}, kField4, L"Caf\u00E9"}});
}

TEST(MidiMeta, ChannelPrefixEndOfTrackAndTempo) {
  Check({
      {{0x20, 0x09}, kSummary, L"Channel Prefix"},
      {{0x20, 0x09}, kField1, L"9"},
      {{0x20, 0x09}, kLabel1, L"Channel &prefix:"},
      {{0x20}, kField1, nullptr},
      {{0x2F}, kSummary, L"End of Track"},
      {{0x2F}, kField1, nullptr},
      {{0x2F}, kLabel1, nullptr},
      {{0x51, 0x07, 0xA1, 0x20}, kSummary, L"Tempo"},
      {{0x51, 0x07, 0xA1, 0x20}, kField1, L"120.000 BPM"},  // 500,000 microseconds
      {{0x51, 0x0F, 0x42, 0x40}, kField1, L"60.000 BPM"},
      {{0x51, 0x0A, 0xAE, 0x60}, kField1, L"85.714 BPM"},   // 700,000
      {{0x51, 0x00, 0x00, 0x01}, kField1, L"60000000.000 BPM"},
      {{0x51, 0x07, 0xA1, 0x20}, kLabel1, L"Te&mpo:"},
      {{0x51, 0x00, 0x00, 0x00}, kField1, nullptr},  // no tempo of 0
      {{0x51, 0x07, 0xA1}, kField1, nullptr},        // three bytes short of a tempo
      {{0x51}, kField1, nullptr},
      {{0x51}, kSummary, L"Tempo"},
  });
}

TEST(MidiMeta, SmpteOffsetAndTimeSignature) {
  Check({
      {{0x54, 1, 2, 3, 4, 5}, kSummary, L"SMPTE Offset"},
      {{0x54, 1, 2, 3, 4, 5}, kField1, L"01:02:03.04.05"},
      {{0x54, 1, 2, 3, 4, 5}, kLabel1, L"S&MPTE:"},
      {{0x54, 1, 2, 3, 4}, kField1, nullptr},
      {{0x58, 6, 3, 24, 8}, kSummary, L"Time Signature"},
      {{0x58, 6, 3, 24, 8}, kField1, L"6/8"},
      {{0x58, 6, 3, 24, 8}, kLabel1, L"Ti&me sig:"},
      {{0x58, 3, 0}, kField1, L"3/4"},    // exponent 0 shows a quarter
      {{0x58, 17, 2}, kField1, L"4/4"},   // numerators above 16 show 4
      {{0x58, 16, 1}, kField1, L"16/2"},
      {{0x58, 4, 30}, kField1, L"4/1073741824"},
      {{0x58, 4, 31}, kField1, nullptr},  // beyond what a shift can hold
      {{0x58, 4, 255}, kField1, nullptr},
      {{0x58, 4}, kField1, nullptr},
      {{0x58}, kField1, nullptr},         // no data bytes
      {{0x58}, kSummary, L"Time Signature"},
  });
}

TEST(MidiMeta, KeySignature) {
  Check({
      {{0x59, 0xFD, 0}, kSummary, L"Key Signature"},
      {{0x59, 0xFD, 0}, kField1, L"Eb"},  // three flats
      {{0x59, 0xFD, 0}, kField2, L"Major"},
      {{0x59, 0x03, 1}, kField1, L"F#"},  // three sharps, minor
      {{0x59, 0x03, 1}, kField2, L"Minor"},
      {{0x59, 0x07, 0}, kField1, L"C#"},
      {{0x59, 0xF9, 1}, kField1, L"Ab"},
      {{0x59, 0x00, 0}, kField1, L"C"},
      {{0x59, 0x03, 1}, kLabel1, L"&Key sig:"},
      {{0x59, 0x03, 1}, kLabel2, L"&Major/Minor:"},
      {{0x59, 0x08, 0}, kField1, nullptr},  // no key has eight sharps
      {{0x59, 0xF8, 1}, kField1, nullptr},
      {{0x59, 0x80, 0}, kField1, nullptr},
      {{0x59, 0x08, 0}, kField2, L"Major"},
      {{0x59, 0x03}, kField1, nullptr},
      {{0x59, 0x03}, kField2, nullptr},
  });
}

TEST(MidiMeta, SequencerSpecific) {
  Check({
      {{0x7F, 0x00, 0x01, 0x0B, 0x01}, kField4, L"TARN 3 DLS File"},
      {{0x7F, 0x00, 0x01, 0x0B, 0x03}, kField4, L"TARN 3 Keynote"},
      {{0x7F, 0x00, 0x01, 0x0B, 0x04}, kField4, L"TARN Track Attributes"},
      {{0x7F, 0x00, 0x01, 0x0B, 0x05, 0x10, 0x20}, kField4, L"Halvane Summary Info"},
      {{0x7F, 0x00, 0x01, 0x0B, 0x05}, kLabel4, L"Halvane Summary Info"},
      {{0x7F, 0x00, 0x01, 0x0B, 0x09}, kField4, L"Halvane Undefined 0x09"},
      {{0x7F, 0x00, 0x01, 0x0B, 0x09}, kLabel4, L"Halvane Undefined 0x09"},
      {{0x7F, 0x00, 0x01, 0x0B, 0x04}, kSummary, L"Sequencer Specific"},
      {{0x7F, 0x41, 0x10}, kField4, L"0x41,0x10,"},
      {{0x7F, 0x41, 0x10}, kLabel4, L"Sequencer Specific"},
      {{0x7F, 0x00, 0x01, 0x0B}, kField4, L"0x00,0x01,0x0B,"},  // no selector byte
      {{0x7F}, kField4, nullptr},
      {{0x7F}, kLabel4, L"Sequencer Specific"},
      {{0x7F, 0x41}, kField1, nullptr},
  });
}

TEST(MidiMeta, UnknownTypesShowTheirBytes) {
  Check({
      {{0x60, 1, 2, 3, 4}, kSummary, L"Unknown Meta: 96"},
      {{0x60, 1, 2, 3, 4}, kField1, L"1"},
      {{0x60, 1, 2, 3, 4}, kField2, L"2"},
      {{0x60, 1, 2, 3, 4}, kField3, L"3"},
      {{0x60, 1, 2, 3, 4}, kField4, L"4"},
      {{0x60, 1, 2, 3, 4}, kLabel1, nullptr},
      {{0x60, 1}, kField1, L"1"},
      {{0x60, 1}, kField2, nullptr},
      {{0x60, 1}, kField4, nullptr},
      {{0x60}, kSummary, L"Unknown Meta: 96"},
      {{0x60}, kField1, nullptr},
      {{0x60, 1, 2, 3, 4, 5, 255}, kField1, nullptr},  // longer blocks: only the dump
      {{0x60, 1, 2, 3, 4, 5, 255}, kField4, L"0x01,0x02,0x03,0x04,0x05,0xFF,"},
      {{0xFF, 1, 2, 3, 4}, kSummary, L"Unknown Meta: 255"},
  });
}

TEST(MidiMeta, NoBlockOrAnEmptyOneHasNoText) {
  for (DWORD selector : {kSummary, kField1, kField4, kLabel1, kLabel4}) {
    Check({{{}, selector, nullptr}});
    QUILLET_EVENT e{};
    e.type = QEV_META;
    HRESULT hr = E_FAIL;
    EXPECT_EQ(miditest::Describe(e, selector, &hr), L"");
    EXPECT_EQ(hr, S_FALSE);
    e.dataLength = 4;  // a length without a block
    EXPECT_EQ(miditest::Describe(e, selector, &hr), L"");
    EXPECT_EQ(hr, S_FALSE);
  }
  Check({{{}, kTypeName, L"Meta"}});
}

}  // namespace
