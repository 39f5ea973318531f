// The international settings record, its items and the tokens it registers.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>

#include "lang_test_support.h"
#include "zq/lang.h"
#include "zq/printf.h"

using namespace langtest;

namespace {

std::wstring Locale(LCTYPE type) {
  WCHAR text[128] = {};
  GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, 128);
  return text;
}

DWORD LocaleNumber(LCTYPE type, int base = 10) { return wcstoul(Locale(type).c_str(), nullptr, base); }

ZQINTERNATIONALS Current() {
  ZQINTERNATIONALS record;
  memset(&record, 0xCC, sizeof(record));
  EXPECT_EQ(ZqLang_GetInternationals(&record, sizeof(record)), 0);
  return record;
}

std::wstring Printed(const wchar_t* format) {
  WCHAR out[1024] = {};
  ZqPrintF(out, format);
  return out;
}

// `format` with each "%s" replaced by the next argument.
std::wstring Substitute(std::wstring format, std::initializer_list<const wchar_t*> values) {
  size_t at = 0;
  for (const wchar_t* value : values) {
    at = format.find(L"%s", at);
    if (at == std::wstring::npos) break;
    format.replace(at, 2, value);
    at += wcslen(value);
  }
  return format;
}

// Sets the user's thousands and decimal separators for the life of the
// object, then puts the old ones back and rebuilds the record.
class SeparatorOverride {
 public:
  SeparatorOverride(const wchar_t* thousands, const wchar_t* decimal)
      : thousands_(Locale(LOCALE_STHOUSAND)), decimal_(Locale(LOCALE_SDECIMAL)) {
    ok_ = SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousands) &&
          SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal);
  }
  ~SeparatorOverride() {
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousands_.c_str());
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal_.c_str());
    ZqLang_GetInternationals(nullptr, 0);
  }
  bool ok() const { return ok_; }

 private:
  std::wstring thousands_, decimal_;
  bool ok_ = false;
};

}  // namespace

TEST(Internationals, RecordLayoutIsFixed) {
  // Field widths in order: 32-bit values, and text fields of N characters
  // followed by their 32-bit length.
  size_t at = 0;
  auto next = [&at](size_t bytes) {
    size_t here = at;
    at += bytes;
    return here;
  };
  constexpr size_t kName = 64 * 2, kSep = 8 * 2, kDword = 4;
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, size), next(kDword));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, systemLcid), next(kDword));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, languageId), next(kDword));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, languageName), next(kName));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, languageNameLength), next(kDword));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, englishLanguage), next(kName));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, englishLanguageLength), next(kDword));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, countryCode), next(kDword));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, countryName), next(kName));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, countryNameLength), next(kDword));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, englishCountry), next(kName));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, englishCountryLength), next(kDword));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, negativeSign), next(kSep));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, negativeSignLength), next(kDword));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, minusSign), next(kSep));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, minusSignLength), next(kDword));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, thousandSep), next(kSep));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, thousandSepLength), next(kDword));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, decimalSep), next(kSep));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, decimalSepLength), next(kDword));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, grouping), next(kDword));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, fractionDigits), next(kDword));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, leadingZero), next(kDword));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, timeSep), next(kSep));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, timeSepLength), next(kDword));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, listSep), next(kSep));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, listSepLength), next(kDword));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, measurement), next(kDword));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, smpteWholeSep), next(kSep));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, smpteWholeSepLength), next(kDword));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, smpteNonDropSep), next(kSep));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, smpteNonDropSepLength), next(kDword));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, smpteDropSep), next(kSep));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, smpteDropSepLength), next(kDword));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, measureBeatSep), next(kSep));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, measureBeatSepLength), next(kDword));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, beatTickSep), next(kSep));
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, beatTickSepLength), next(kDword));
  EXPECT_EQ(at, 780u);  // the rest is reserved
  EXPECT_EQ(offsetof(ZQINTERNATIONALS, reserved), at);
  ZQINTERNATIONALS copy;
  memset(&copy, 0xCC, sizeof(copy));
  ZqLang_GetInternationals(&copy, sizeof(copy));
  for (BYTE b : copy.reserved) EXPECT_EQ(b, 0);
  EXPECT_EQ(sizeof(ZQINTERNATIONALS), 796u);
}

TEST(Internationals, ValuesComeFromTheUserLocale) {
  EXPECT_EQ(ZqLang_GetInternationals(nullptr, 0), 0);
  ZQINTERNATIONALS r = Current();
  EXPECT_EQ(r.size, 796u);
  EXPECT_EQ(r.systemLcid, GetSystemDefaultLCID());
  EXPECT_EQ(r.languageId, LocaleNumber(LOCALE_ILANGUAGE, 16));
  EXPECT_EQ(r.languageId, LANGIDFROMLCID(GetUserDefaultLCID()));
  struct Text {
    const WCHAR* field;
    DWORD length;
    LCTYPE type;
  } texts[] = {{r.languageName, r.languageNameLength, LOCALE_SLANGUAGE},
               {r.englishLanguage, r.englishLanguageLength, LOCALE_SENGLANGUAGE},
               {r.countryName, r.countryNameLength, LOCALE_SCOUNTRY},
               {r.englishCountry, r.englishCountryLength, LOCALE_SENGCOUNTRY},
               {r.negativeSign, r.negativeSignLength, LOCALE_SNEGATIVESIGN},
               {r.thousandSep, r.thousandSepLength, LOCALE_STHOUSAND},
               {r.timeSep, r.timeSepLength, LOCALE_STIME},
               {r.listSep, r.listSepLength, LOCALE_SLIST}};
  for (const Text& t : texts) {
    std::wstring expected = Locale(t.type).substr(0, 64);
    EXPECT_EQ(std::wstring(t.field), expected) << std::hex << t.type;
    EXPECT_EQ(t.length, expected.size()) << std::hex << t.type;
  }
  if (Locale(LOCALE_SDECIMAL) != Locale(LOCALE_STHOUSAND)) {
    EXPECT_EQ(std::wstring(r.decimalSep), Locale(LOCALE_SDECIMAL));
  }
  EXPECT_EQ(r.countryCode, LocaleNumber(LOCALE_ICOUNTRY));
  EXPECT_EQ(r.grouping, LocaleNumber(LOCALE_SGROUPING));
  EXPECT_EQ(r.fractionDigits, LocaleNumber(LOCALE_IDIGITS));
  EXPECT_EQ(r.leadingZero, LocaleNumber(LOCALE_ILZERO));
  EXPECT_EQ(r.measurement, LocaleNumber(LOCALE_IMEASURE));
  struct Fixed {
    const WCHAR* field;
    DWORD length;
    const wchar_t* text;
  } fixed[] = {{r.minusSign, r.minusSignLength, L"-"},     {r.smpteWholeSep, r.smpteWholeSepLength, L":"},
               {r.smpteNonDropSep, r.smpteNonDropSepLength, L"."}, {r.smpteDropSep, r.smpteDropSepLength, L","},
               {r.measureBeatSep, r.measureBeatSepLength, L"."},   {r.beatTickSep, r.beatTickSepLength, L"."}};
  for (const Fixed& f : fixed) {
    EXPECT_STREQ(f.field, f.text);
    EXPECT_EQ(f.length, 1u);
  }
}

TEST(Internationals, CopyIsBoundedAndCarriesTheCopiedSize) {
  ZqLang_GetInternationals(nullptr, 0);
  ZQINTERNATIONALS full = Current();
  BYTE buffer[900];
  memset(buffer, 0xCC, sizeof(buffer));
  EXPECT_EQ(ZqLang_GetInternationals(reinterpret_cast<ZQINTERNATIONALS*>(buffer), 100), 0);
  DWORD size;
  memcpy(&size, buffer, 4);
  EXPECT_EQ(size, 100u);
  EXPECT_EQ(memcmp(buffer + 4, reinterpret_cast<BYTE*>(&full) + 4, 96), 0);
  EXPECT_EQ(buffer[100], 0xCC);
  memset(buffer, 0xCC, sizeof(buffer));
  EXPECT_EQ(ZqLang_GetInternationals(reinterpret_cast<ZQINTERNATIONALS*>(buffer), 900), 0);
  memcpy(&size, buffer, 4);
  EXPECT_EQ(size, 796u);
  EXPECT_EQ(buffer[796], 0xCC);
  // Fewer bytes than the size field: the copy stays within them.
  memset(buffer, 0xCC, sizeof(buffer));
  EXPECT_EQ(ZqLang_GetInternationals(reinterpret_cast<ZQINTERNATIONALS*>(buffer), 2), 0);
  EXPECT_EQ(memcmp(buffer, &full, 2), 0);
  EXPECT_EQ(buffer[2], 0xCC);
  EXPECT_EQ(ZqLang_GetInternationals(reinterpret_cast<ZQINTERNATIONALS*>(buffer), 0), 0);
  EXPECT_EQ(ZqLang_GetInternationals(reinterpret_cast<ZQINTERNATIONALS*>(buffer), -4), 0);
  EXPECT_EQ(buffer[2], 0xCC);
}

TEST(Internationals, InatItemsReadTheRecord) {
  ZqLang_GetInternationals(nullptr, 0);
  ZQINTERNATIONALS r = Current();
  struct Item {
    int item;
    const WCHAR* text;  // null: a number item
    DWORD value;
  } items[] = {{ZQINAT_SYSTEM_LCID, nullptr, r.systemLcid},
               {ZQINAT_LANGUAGE_ID, nullptr, r.languageId},
               {ZQINAT_LANGUAGE_NAME, r.languageName, r.languageNameLength},
               {ZQINAT_ENGLISH_LANGUAGE, r.englishLanguage, r.englishLanguageLength},
               {ZQINAT_COUNTRY_CODE, nullptr, r.countryCode},
               {ZQINAT_DECIMAL, r.decimalSep, r.decimalSepLength},
               {ZQINAT_LIST, r.listSep, r.listSepLength},
               {ZQINAT_TIME, r.timeSep, r.timeSepLength},
               {ZQINAT_SMPTE_WHOLE, r.smpteWholeSep, 1},
               {ZQINAT_SMPTE_NONDROP, r.smpteNonDropSep, 1},
               {ZQINAT_SMPTE_DROP, r.smpteDropSep, 1},
               {ZQINAT_MEASURE_BEAT, r.measureBeatSep, 1},
               {ZQINAT_BEAT_TICK, r.beatTickSep, 1},
               {5, nullptr, 0},
               {-1, nullptr, 0},
               {1000, nullptr, 0}};
  for (const Item& i : items) {
    WCHAR text[80];
    wmemset(text, L'#', 80);
    EXPECT_EQ(static_cast<DWORD>(ZqGetInat(i.item, text)), i.value) << i.item;
    EXPECT_STREQ(text, i.text ? i.text : L"") << i.item;
    EXPECT_EQ(static_cast<DWORD>(ZqGetInat(i.item, nullptr)), i.value) << i.item;
  }
}

TEST(Internationals, DecimalSeparatorNeverEqualsTheThousandsSeparator) {
  struct Case {
    const wchar_t* thousands;
    const wchar_t* decimal;
    const wchar_t* expected;
  } cases[] = {{L".", L".", L","}, {L",", L",", L"."}, {L" ", L" ", L"."}, {L".", L",", L","}};
  for (const Case& c : cases) {
    SeparatorOverride override(c.thousands, c.decimal);
    ASSERT_TRUE(override.ok());
    ASSERT_EQ(Locale(LOCALE_SDECIMAL), c.decimal);
    ZqLang_GetInternationals(nullptr, 0);
    WCHAR text[16];
    EXPECT_EQ(ZqGetInat(ZQINAT_DECIMAL, text), 1);
    EXPECT_STREQ(text, c.expected) << c.thousands << c.decimal;
    EXPECT_STREQ(Current().thousandSep, c.thousands);
  }
}

TEST(InternationalTokens, SeparatorAndLabelTokensAreRegistered) {
  ZqLang_GetInternationals(nullptr, 0);
  EXPECT_EQ(Printed(L"$(SMPTE.Whole)|$(SMPTE.NonDrop)|$(SMPTE.Drop)|$(m.b)|$(b.t)"), L":|.|,|.|.");
  HMODULE library = Library();
  EXPECT_EQ(Printed(L"$(SMPTE.Label.NonDrop)"), Substitute(ModuleString(library, 48304), {L":", L":", L"."}));
  EXPECT_EQ(Printed(L"$(SMPTE.Label.Drop)"), Substitute(ModuleString(library, 48304), {L":", L":", L","}));
  EXPECT_EQ(Printed(L"$(SMPTE.Label.NonDrop.Full)"), Substitute(ModuleString(library, 48305), {L":", L":", L"."}));
  EXPECT_EQ(Printed(L"$(SMPTE.Label.Drop.Full)"), Substitute(ModuleString(library, 48305), {L":", L":", L","}));
  EXPECT_EQ(Printed(L"$(MusicTime.Label)"), Substitute(ModuleString(library, 48306), {L".", L"."}));
  EXPECT_EQ(Printed(L"$(MusicTime.Label.Full)"), Substitute(ModuleString(library, 48307), {L".", L"."}));
  EXPECT_EQ(Printed(L"$(MusicTime.Label.Full)"), L"measures.beats.ticks");
}

TEST(InternationalTokens, LabelsFollowTheLibraryLanguage) {
  std::wstring lng = BinPath(L"quillet.lng");
  {
    Handle lang(Library());
    lang.German();  // the library's default handle switches with it
    ZqLang_GetInternationals(nullptr, 0);
    auto german = StringInFile(lng, 48307, static_cast<WORD>(kGerman));
    ASSERT_TRUE(german.has_value());
    EXPECT_EQ(Printed(L"$(MusicTime.Label.Full)"), Substitute(*german, {L".", L"."}));
    auto smpte = StringInFile(lng, 48304, static_cast<WORD>(kGerman));
    ASSERT_TRUE(smpte.has_value());
    EXPECT_EQ(Printed(L"$(SMPTE.Label.Drop)"), Substitute(*smpte, {L":", L":", L","}));
  }
  ZqLang_GetInternationals(nullptr, 0);
  EXPECT_EQ(Printed(L"$(MusicTime.Label.Full)"), Substitute(ModuleString(Library(), 48307), {L".", L"."}));
}
