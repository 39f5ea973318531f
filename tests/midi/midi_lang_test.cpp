// The names come through the module's language handle: with a German LCID
// the German language module's type names are used, and strings it does
// not translate still come from the module.
#include <gtest/gtest.h>

#include <string>

#include "core/module_state.h"
#include "midi_test_support.h"
#include "midi/midi_describe.h"
#include "midi/midi_names.h"
#include "quillet/event.h"
#include "test_paths.h"
#include "zq/lang.h"

namespace {

using namespace quillet::midi;

std::wstring Type(DWORD type) {
  WCHAR text[128];
  TypeName(type, text, 128);
  return text;
}

class MidiGerman : public ::testing::Test {
 protected:
  void SetUp() override {
    // The library's own German language module, built beside the module.
    std::wstring path = testsupport::ExeDirectory() + L"\\quillet.lng";
    german = LoadLibraryExW(path.c_str(), nullptr, 0);
    ASSERT_NE(german, nullptr) << "quillet.lng beside the test";
    HZQLANG lang = zq::core::DefaultLang();
    ASSERT_NE(lang, nullptr);
    ASSERT_TRUE(ZqLang_ChangeLangInst(lang, german));
    ASSERT_TRUE(ZqLang_UpdateKernelLCID(lang, 0x0407, 0));
  }
  void TearDown() override {
    // Back to English; the handle keeps the module it was given.
    ZqLang_UpdateKernelLCID(zq::core::DefaultLang(), 1033, 0);
  }
  HMODULE german = nullptr;
};

TEST_F(MidiGerman, TypeNamesComeFromTheGermanModule) {
  const struct {
    DWORD type;
    const wchar_t* name;
  } cases[] = {
      {QEV_NONE, L"(Keine)"},
      {QEV_PACKED_NRPN, L"NRPN gepackt"},
      {QEV_PACKED_RPN, L"RPN gepackt"},
      {QEV_PATCH, L"Klang"},
      {QEV_SHORT_MSG, L"Kurznachricht"},
      {QEV_NOTE_OFF, L"Note aus"},
      {QEV_NOTE, L"Note an"},
      {QEV_POLY_PRESSURE, L"Polyphoner Druck"},
      {QEV_CONTROL, L"Controller-Wechsel"},
      {QEV_PROGRAM, L"Programmwechsel"},
      {QEV_CHAN_PRESSURE, L"Kanaldruck"},
      {QEV_PITCH_BEND, L"Tonh\u00F6henbeugung"},
      {QEV_SYSEX, L"Systemexklusiv"},
      {QEV_SYSEX_CONT, L"Systemexklusiv (Fortsetzung)"},
      {QEV_MCI, L"Ger\u00E4tebefehl"},
      {QEV_LONG_MSG, L"Lange Nachricht"},
      {QEV_META, L"Meta-Ereignis"},
      {QEV_WAVE, L"Audiodaten"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Type(c.type), c.name) << std::hex << c.type;
    HRESULT hr = E_FAIL;
    EXPECT_EQ(miditest::Describe(miditest::Short(c.type, 0), kTypeName, &hr), c.name);
  }
  // Channel pressure's summary is its type name.
  HRESULT hr = E_FAIL;
  EXPECT_EQ(miditest::Describe(miditest::Short(QEV_CHAN_PRESSURE, 1), kSummary, &hr), L"Kanaldruck");
  // Untranslated strings come from the module.
  WCHAR text[64];
  ControllerName(7, text, 64);
  EXPECT_STREQ(text, L"Main Volume MSB");
}

TEST_F(MidiGerman, EnglishAgainWithAnEnglishLcid) {
  EXPECT_EQ(Type(QEV_NOTE), L"Note an");
  ASSERT_TRUE(ZqLang_UpdateKernelLCID(zq::core::DefaultLang(), 1033, 0));
  EXPECT_EQ(Type(QEV_NOTE), L"Note On");
  EXPECT_EQ(Type(QEV_PITCH_BEND), L"Pitch Bend");
}

}  // namespace
