// Opening and closing handles, their ring, locale and language switches.
#include <gtest/gtest.h>

#include "lang_test_ids.h"
#include "lang_test_support.h"
#include "zq/kernel.h"
#include "zq/lang.h"

using namespace langtest;

namespace {

// Moves the ring's next free position to `offset` (even, from a fresh
// ring) with requests of at most the reserve.
void AdvanceRing(HZQLANG lang, UINT offset) {
  while (offset >= 1024) {
    ASSERT_NE(ZqGetTempStringBuffer(lang, 1022), nullptr);
    offset -= 1024;
  }
  if (offset) {
    ASSERT_NE(ZqGetTempStringBuffer(lang, offset - 2), nullptr);
  }
}

// The ring of a fresh handle holds `units` characters: a slot may start at
// units - 1024, and a position two units later wraps to the start.
void ExpectRingUnits(UINT requested, UINT units) {
  Handle lang(Program(), 0, requested);
  ASSERT_NE(lang.get(), nullptr);
  WCHAR* base = ZqGetTempStringBuffer(lang, 0);
  ASSERT_NE(base, nullptr);
  AdvanceRing(lang, units - 1024 - 2);  // the first request took 2 units
  EXPECT_EQ(ZqGetTempStringBuffer(lang, 0), base + (units - 1024)) << "requested " << requested;
  EXPECT_EQ(ZqGetTempStringBuffer(lang, 0), base) << "requested " << requested;
}

}  // namespace

TEST(LangOpen, RingSizesFollowTheRequestedCapacity) {
  ExpectRingUnits(0, 8192);
  ExpectRingUnits(1, 2048);
  ExpectRingUnits(100, 2048);
  ExpectRingUnits(2048, 2048);
  ExpectRingUnits(5000, 5000);
}

TEST(LangOpen, HugeRingIsOutOfMemoryAndReturnsNothing) {
  HZQLANG lang = reinterpret_cast<HZQLANG>(1);
  EXPECT_EQ(ZqLang_Open(&lang, Program(), 0, 0x7FFFFFF0u), E_OUTOFMEMORY);
  EXPECT_EQ(lang, nullptr);
}

TEST(LangOpen, BadArgumentsAndNullHandles) {
  EXPECT_EQ(ZqLang_Open(nullptr, Program(), 0, 0), E_POINTER);
  EXPECT_EQ(ZqLang_Close(nullptr), S_OK);
  EXPECT_EQ(ZqLang_GetLCID(nullptr), 0u);
  EXPECT_EQ(ZqLang_InstFromLang(nullptr), nullptr);
  EXPECT_FALSE(ZqLang_ChangeLangInst(nullptr, Program()));
  EXPECT_FALSE(ZqLang_UpdateKernelLCID(nullptr, kGerman, 0));
  EXPECT_FALSE(ZqLang_IsNameOrderReversed(nullptr));
  WCHAR text[8] = L"xyz";
  EXPECT_FALSE(ZqLang_GetLangAbbrev(nullptr, text, 8));
  Handle lang(Program());
  EXPECT_FALSE(ZqLang_GetLangAbbrev(lang, nullptr, 8));
  EXPECT_FALSE(ZqLang_GetLangAbbrev(lang, text, 0));
  EXPECT_STREQ(text, L"xyz");
}

TEST(LangOpen, StartsWithTheGivenLcidAndWithoutTheLanguageModule) {
  Handle plain(Program());
  EXPECT_EQ(ZqLang_GetLCID(plain), 0u);
  Handle german(Program(), kGerman);
  EXPECT_EQ(ZqLang_GetLCID(german), kGerman);
  // lang_tests.lng is loaded, but only a language switch puts it in use.
  ASSERT_NE(GetModuleHandleW(L"lang_tests.lng"), nullptr);
  EXPECT_EQ(ZqLang_InstFromLang(german), Program());
}

TEST(LangOpen, NonEnglishLcidPutsTheLanguageModuleInUseEnglishNever) {
  Handle lang(Program());
  HMODULE lng = GetModuleHandleW(L"lang_tests.lng");
  ASSERT_NE(lng, nullptr);
  struct Case {
    LCID lcid;
    bool uses;
  } cases[] = {{kGerman, true}, {0x0807, true}, {0x0411, true}, {0x0409, false},
               {0x0809, false}, {0x0C09, false}, {0, false}};
  for (const Case& c : cases) {
    EXPECT_TRUE(ZqLang_UpdateKernelLCID(lang, c.lcid, 0));
    EXPECT_EQ(ZqLang_GetLCID(lang), c.lcid ? c.lcid : 1033u);
    EXPECT_EQ(ZqLang_InstFromLang(lang), c.uses ? lng : Program()) << std::hex << c.lcid;
    EXPECT_EQ(ZqLang_IsLCIDEnglish(c.lcid), (c.lcid & 0x3FF) == 9);
  }
}

TEST(LangOpen, HandleWithoutLanguageModuleUsesItsModule) {
  // No "kernel32.LNG" exists: every lookup goes to the module, also in German.
  Handle lang(GetModuleHandleW(L"kernel32.dll"));
  lang.German();
  EXPECT_EQ(ZqLang_InstFromLang(lang), GetModuleHandleW(L"kernel32.dll"));
  WCHAR text[16] = L"x";
  EXPECT_EQ(ZqLoadString(lang, 65000, text, 16), 0);
  EXPECT_STREQ(text, L"");
  EXPECT_STREQ(ZqGetString(lang, 65000), L"");
}

TEST(LangOpen, ClosingLeavesAGivenLanguageModuleLoaded) {
  Handle owner(Program());  // loads lang_tests.lng
  HMODULE lng = GetModuleHandleW(L"lang_tests.lng");
  ASSERT_NE(lng, nullptr);
  {
    Handle lang(GetModuleHandleW(L"kernel32.dll"));
    EXPECT_TRUE(ZqLang_ChangeLangInst(lang, lng));
    lang.German();
    EXPECT_EQ(ZqLang_InstFromLang(lang), lng);
    EXPECT_STREQ(ZqGetString(lang, IDS_T_HELLO), L"Hallo");
    EXPECT_TRUE(ZqLang_ChangeLangInst(lang, nullptr));  // nothing changes
    EXPECT_EQ(ZqLang_InstFromLang(lang), lng);
  }
  // The closed handle did not load the module, so it must not have freed it.
  EXPECT_EQ(GetModuleHandleW(L"lang_tests.lng"), lng);
  owner.German();
  EXPECT_STREQ(ZqGetString(owner, IDS_T_HELLO), L"Hallo");
  // The library's default handle goes back to its own language module.
  EXPECT_TRUE(ZqLang_ChangeLangInst(owner, GetModuleHandleW(L"quillet.lng")));
}

TEST(LangOpen, LanguageAbbreviationComesFromTheLocale) {
  for (LCID lcid : {kGerman, kEnglishUs, static_cast<LCID>(0x040C)}) {
    Handle lang(Program(), lcid);
    WCHAR expected[16] = {}, text[16] = {};
    ASSERT_GT(GetLocaleInfoW(lcid, LOCALE_SABBREVLANGNAME, expected, 16), 0);
    EXPECT_TRUE(ZqLang_GetLangAbbrev(lang, text, 16));
    EXPECT_STREQ(text, expected);
    WCHAR small[3] = {};
    EXPECT_TRUE(ZqLang_GetLangAbbrev(lang, small, 3));
    EXPECT_EQ(std::wstring(small), std::wstring(expected).substr(0, 2));
  }
}

TEST(LangNames, JapaneseHandlesPutTheLastNameFirst) {
  Handle english(Program(), kEnglishUs);
  Handle japanese(Program(), 1041);
  EXPECT_FALSE(ZqLang_IsNameOrderReversed(english));
  EXPECT_TRUE(ZqLang_IsNameOrderReversed(japanese));
  WCHAR text[32];
  EXPECT_EQ(ZqLang_LocalizeUserName(english, L"Ada", L"Lovelace", text, 32), 12);
  EXPECT_STREQ(text, L"Ada Lovelace");
  EXPECT_EQ(ZqLang_LocalizeUserName(japanese, L"Ada", L"Lovelace", text, 32), 12);
  EXPECT_STREQ(text, L"Lovelace Ada");
  EXPECT_EQ(ZqLang_LocalizeUserName(nullptr, L"Ada", L"Lovelace", text, 32), 12);
  EXPECT_STREQ(text, L"Ada Lovelace");
}

TEST(LangNames, TruncatedNullAndZeroCapacity) {
  Handle lang(Program(), kEnglishUs);
  WCHAR text[8] = L"sentin";
  EXPECT_EQ(ZqLang_LocalizeUserName(lang, L"Ada", L"Lovelace", text, 6), 5);
  EXPECT_STREQ(text, L"Ada L");
  EXPECT_EQ(ZqLang_LocalizeUserName(lang, nullptr, L"Lovelace", text, 8), 7);
  EXPECT_STREQ(text, L" Lovela");
  wcscpy(text, L"keep");
  EXPECT_EQ(ZqLang_LocalizeUserName(lang, L"Ada", L"Lovelace", text, 0), 0);
  EXPECT_STREQ(text, L"keep");
  EXPECT_EQ(ZqLang_LocalizeUserName(lang, L"Ada", L"Lovelace", text, 1), 0);
  EXPECT_STREQ(text, L"");
  EXPECT_EQ(ZqLang_LocalizeUserName(lang, L"Ada", L"Lovelace", nullptr, 8), 0);
}

TEST(LangId, SetsAtMostFourCharactersAndDefaultsToEnu) {
  EXPECT_EQ(ZqSetLangID(L"DEU"), 3);
  EXPECT_EQ(ZqSetLangID(L"ABCDEFG"), 4);
  EXPECT_EQ(ZqSetLangID(L""), 3);
  EXPECT_EQ(ZqSetLangID(nullptr), 3);
}
