// Strings through a handle: language module first, module as fallback,
// the "^*" marker, the cache and bad buffers.
#include <gtest/gtest.h>

#include "lang_test_ids.h"
#include "lang_test_support.h"

using namespace langtest;

namespace {

constexpr UINT kRegistrationName = 1000;
constexpr UINT kLibraryLabels[] = {48304, 48305, 48306, 48307};
constexpr UINT kUntranslated = 48303;  // "-Inf.", deliberately not in quillet.lng

std::wstring LoadedString(HZQLANG lang, UINT id) {
  WCHAR text[1024];
  int length = ZqLoadString(lang, id, text, 1024);
  EXPECT_EQ(length, lstrlenW(text));
  return text;
}

}  // namespace

TEST(LibraryLanguageModule, GermanStringsComeFromQuilletLng) {
  std::wstring lng = BinPath(L"quillet.lng");
  Handle lang(Library());
  lang.German();
  ASSERT_EQ(ZqLang_InstFromLang(lang), GetModuleHandleW(L"quillet.lng"));
  for (UINT id : {kRegistrationName, kLibraryLabels[0], kLibraryLabels[1], kLibraryLabels[2], kLibraryLabels[3]}) {
    auto german = StringInFile(lng, id, static_cast<WORD>(kGerman));
    ASSERT_TRUE(german.has_value()) << id;
    EXPECT_NE(*german, ModuleString(Library(), id)) << id;
    EXPECT_EQ(LoadedString(lang, id), *german) << id;
    EXPECT_EQ(std::wstring(ZqGetString(lang, id)), *german) << id;
  }
}

TEST(LibraryLanguageModule, StringMissingThereComesFromTheModule) {
  ASSERT_FALSE(StringInFile(BinPath(L"quillet.lng"), kUntranslated, static_cast<WORD>(kGerman)).has_value());
  std::wstring english = ModuleString(Library(), kUntranslated);
  ASSERT_FALSE(english.empty());
  Handle lang(Library());
  lang.German();
  EXPECT_EQ(LoadedString(lang, kUntranslated), english);
  EXPECT_EQ(std::wstring(ZqGetString(lang, kUntranslated)), english);
}

TEST(LibraryLanguageModule, EnglishLcidsNeverUseIt) {
  for (LCID lcid : {static_cast<LCID>(0x0409), static_cast<LCID>(0x0809), static_cast<LCID>(0)}) {
    Handle lang(Library());
    ZqLang_UpdateKernelLCID(lang, lcid, 0);
    EXPECT_EQ(ZqLang_InstFromLang(lang), Library());
    for (UINT id : {kRegistrationName, kLibraryLabels[0], kLibraryLabels[3]})
      EXPECT_EQ(std::wstring(ZqGetString(lang, id)), ModuleString(Library(), id)) << id;
  }
  // A fresh handle has not switched yet: the module even for a German LCID.
  Handle fresh(Library(), kGerman);
  EXPECT_EQ(std::wstring(ZqGetString(fresh, kRegistrationName)), ModuleString(Library(), kRegistrationName));
}

TEST(LibraryLanguageModule, VersionLanguagesListed) {
  Handle lang(Library());
  WCHAR text[32] = L"x";
  EXPECT_EQ(ZqEnumResourceLanguages(lang, 1, text, 32), 0);  // not in use yet
  EXPECT_STREQ(text, L"");
  lang.German();
  WCHAR deu[16] = {};
  GetLocaleInfoW(kGerman, LOCALE_SABBREVLANGNAME, deu, 16);
  EXPECT_EQ(ZqEnumResourceLanguages(lang, 1, text, 32), lstrlenW(deu));
  EXPECT_STREQ(text, deu);
  EXPECT_EQ(ZqEnumResourceLanguages(lang, 77, text, 32), 0);
}

TEST(ProgramLanguageModule, TranslatedMissingAndOnlyTranslatedStrings) {
  Handle lang(Program());
  EXPECT_EQ(LoadedString(lang, IDS_T_HELLO), L"Hello");
  EXPECT_EQ(LoadedString(lang, IDS_T_LNG_ONLY), L"");
  lang.German();
  EXPECT_EQ(LoadedString(lang, IDS_T_HELLO), L"Hallo");
  EXPECT_EQ(LoadedString(lang, IDS_T_MODULE_ONLY), ModuleString(Program(), IDS_T_MODULE_ONLY));
  EXPECT_EQ(LoadedString(lang, IDS_T_OTHER_BLOCK), ModuleString(Program(), IDS_T_OTHER_BLOCK));
  EXPECT_EQ(LoadedString(lang, IDS_T_LNG_ONLY), L"Nur im Sprachmodul");
  lang.English();
  EXPECT_EQ(LoadedString(lang, IDS_T_HELLO), L"Hello");
}

TEST(StringMarker, LeadingMarkerIsRemovedFromBothSources) {
  Handle lang(Program());
  WCHAR text[32];
  EXPECT_EQ(ModuleString(Program(), IDS_T_OPEN), L"^*Open");
  EXPECT_EQ(ZqLoadString(lang, IDS_T_OPEN, text, 32), 4);
  EXPECT_STREQ(text, L"Open");
  EXPECT_EQ(ZqLoadString(lang, IDS_T_CARET, text, 32), 1);  // a lone "^" stays
  EXPECT_STREQ(text, L"^");
  lang.German();
  EXPECT_EQ(ZqLoadString(lang, IDS_T_OPEN, text, 32), 6);
  EXPECT_STREQ(text, L"\u00D6ffnen");
  EXPECT_STREQ(ZqGetString(lang, IDS_T_OPEN), L"\u00D6ffnen");
}

TEST(LoadStringBuffers, SmallAndBadBuffersAreBoundedAndTerminated) {
  Handle lang(Program());
  for (bool german : {false, true}) {
    if (german) lang.German();
    std::wstring full = german ? L"abcdefghijklmnopqrstuvwxyz0123456789ABCD" : L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd";
    WCHAR text[8];
    for (int capacity = 1; capacity <= 8; ++capacity) {
      wmemset(text, L'#', 8);
      EXPECT_EQ(ZqLoadString(lang, IDS_T_LONG, text, capacity), capacity - 1);
      EXPECT_EQ(std::wstring(text), full.substr(0, capacity - 1));
      if (capacity < 8) {
        EXPECT_EQ(text[capacity], L'#');
      }
    }
    wmemset(text, L'#', 8);
    EXPECT_EQ(ZqLoadString(lang, IDS_T_LONG, text, 0), 0);
    EXPECT_EQ(ZqLoadString(lang, IDS_T_LONG, text, -5), 0);
    EXPECT_EQ(text[0], L'#');
    EXPECT_EQ(ZqLoadString(lang, IDS_T_LONG, nullptr, 8), 0);
    EXPECT_EQ(ZqLoadString(lang, 4242, text, 8), 0);  // no such string
    EXPECT_STREQ(text, L"");
  }
  WCHAR text[8] = L"x";
  EXPECT_EQ(ZqLoadString(nullptr, IDS_T_HELLO, text, 8), 0);
  EXPECT_STREQ(text, L"");
}

TEST(GetString, SamePointerEachTimeAndEmptyForMissingIds) {
  Handle lang(Program());
  const WCHAR* first = ZqGetString(lang, IDS_T_HELLO);
  EXPECT_STREQ(first, L"Hello");
  EXPECT_EQ(ZqGetString(lang, IDS_T_HELLO), first);
  // Many more entries do not move the first one.
  for (UINT id = 0; id < 200; ++id) ZqGetString(lang, id);
  EXPECT_EQ(ZqGetString(lang, IDS_T_HELLO), first);
  EXPECT_STREQ(first, L"Hello");
  for (int i = 0; i < 2; ++i) {
    const WCHAR* missing = ZqGetString(lang, 4242);
    ASSERT_NE(missing, nullptr);
    EXPECT_STREQ(missing, L"");
  }
  ASSERT_NE(ZqGetString(nullptr, IDS_T_HELLO), nullptr);
  EXPECT_STREQ(ZqGetString(nullptr, IDS_T_HELLO), L"");
  EXPECT_STREQ(ZqGetMenuString(nullptr, IDS_T_TAB), L"");
}

TEST(GetString, MenuStringTurnsTabsIntoBackspacesInTheCache) {
  Handle lang(Program());
  const WCHAR* plain = ZqGetString(lang, IDS_T_TAB);
  EXPECT_STREQ(plain, L"Cut\tCtrl+X");
  const WCHAR* menu = ZqGetMenuString(lang, IDS_T_TAB);
  EXPECT_EQ(menu, plain);
  EXPECT_STREQ(menu, L"Cut\bCtrl+X");
}

TEST(GetString, LanguageSwitchGivesFreshStringsAndKeepsOldPointers) {
  Handle lang(Program());
  const WCHAR* english = ZqGetString(lang, IDS_T_HELLO);
  lang.German();
  const WCHAR* german = ZqGetString(lang, IDS_T_HELLO);
  EXPECT_STREQ(german, L"Hallo");
  EXPECT_STREQ(english, L"Hello");  // still valid until the handle closes
  EXPECT_EQ(ZqGetString(lang, IDS_T_HELLO), german);
  lang.English();
  EXPECT_STREQ(ZqGetString(lang, IDS_T_HELLO), L"Hello");
  EXPECT_STREQ(german, L"Hallo");
}

TEST(GetString, ConcurrentCallersShareOneEntryPerId) {
  Handle lang(Program());
  struct Shared {
    HZQLANG lang;
    const WCHAR* seen[8][40];
  } shared{lang.get(), {}};
  static Shared* current;
  current = &shared;
  HANDLE threads[8];
  for (int t = 0; t < 8; ++t) {
    threads[t] = CreateThread(
        nullptr, 0,
        [](void* param) WINAPI -> DWORD {
          int t = static_cast<int>(reinterpret_cast<INT_PTR>(param));
          for (int round = 0; round < 50; ++round)
            for (UINT id = 0; id < 40; ++id) current->seen[t][id] = ZqGetString(current->lang, id + 90);
          return 0;
        },
        reinterpret_cast<void*>(static_cast<INT_PTR>(t)), 0, nullptr);
    ASSERT_NE(threads[t], nullptr);
  }
  WaitForMultipleObjects(8, threads, TRUE, 30000);
  for (HANDLE thread : threads) CloseHandle(thread);
  for (UINT id = 0; id < 40; ++id) {
    for (int t = 1; t < 8; ++t) EXPECT_EQ(shared.seen[t][id], shared.seen[0][id]) << id + 90;
    std::wstring expected = ModuleString(Program(), id + 90);
    if (expected.rfind(L"^*", 0) == 0) expected.erase(0, 2);
    EXPECT_EQ(std::wstring(shared.seen[0][id]), expected);
  }
}
