// The stored user language ("ULangID") and the shared "Locale" value.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "lang_test_support.h"
#include "zq/lang.h"

namespace {

constexpr wchar_t kApp[] = L"QuilletLangTest";
constexpr wchar_t kShared[] = L"Software\\Halvane\\Shared Information";

std::optional<DWORD> RawDword(const wchar_t* path, const wchar_t* name) {
  DWORD value = 0, size = sizeof(value), type = 0;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, path, name, RRF_RT_ANY, &type, &value, &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    return std::nullopt;
  return value;
}

class UserLcid : public ::testing::Test {
 protected:
  void TearDown() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Halvane\\QuilletLangTest"); }
};

}  // namespace

TEST_F(UserLcid, SavedUnderTheVersionAndReadBackWithItsDefaultSublanguage) {
  EXPECT_TRUE(ZqLang_SaveUserLCIDMetric(kApp, 0x0A140000, 0x00050807));
  EXPECT_EQ(RawDword(L"Software\\Halvane\\QuilletLangTest\\10.20\\Lang", L"ULangID"), 0x0807u);
  LCID lcid = 0;
  EXPECT_TRUE(ZqLang_LoadUserLCIDMetric(kApp, 0x0A14FFFF, &lcid));  // low 16 bits ignored
  EXPECT_EQ(lcid, 0x0407u);
  EXPECT_TRUE(ZqLang_SaveUserLCIDMetric(kApp, 0x0A140000, 0x0411));
  EXPECT_TRUE(ZqLang_LoadUserLCIDMetric(kApp, 0x0A140000, &lcid));
  EXPECT_EQ(lcid, 0x0411u);
}

TEST_F(UserLcid, MissingOrBadValuesReadAsNothing) {
  LCID lcid = 1234;
  EXPECT_FALSE(ZqLang_LoadUserLCIDMetric(kApp, 0x01000000, &lcid));
  EXPECT_EQ(lcid, 1234u);
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Halvane\\QuilletLangTest\\1.0\\Lang", 0, nullptr, 0,
                            KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, L"ULangID", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"1031"), 10);
  RegCloseKey(key);
  EXPECT_FALSE(ZqLang_LoadUserLCIDMetric(kApp, 0x01000000, &lcid));
  EXPECT_FALSE(ZqLang_LoadUserLCIDMetric(nullptr, 0x01000000, &lcid));
  EXPECT_FALSE(ZqLang_LoadUserLCIDMetric(kApp, 0x01000000, nullptr));
  EXPECT_FALSE(ZqLang_SaveUserLCIDMetric(nullptr, 0x01000000, 0x0407));
  EXPECT_FALSE(ZqLang_SaveUserLCIDMetric(L"", 0x01000000, 0x0407));
  EXPECT_EQ(lcid, 1234u);
}

TEST(SharedLocale, WrittenAndReadAsADword) {
  std::optional<DWORD> old = RawDword(kShared, L"Locale");
  EXPECT_EQ(ZqGetLocale(), old.value_or(0));
  EXPECT_EQ(ZqSetLocale(0x0411), S_OK);
  EXPECT_EQ(RawDword(kShared, L"Locale"), 0x0411u);
  EXPECT_EQ(ZqGetLocale(), 0x0411u);
  if (old) {
    ZqSetLocale(*old);
  } else {
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kShared, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      RegDeleteValueW(key, L"Locale");
      RegCloseKey(key);
    }
    EXPECT_EQ(ZqGetLocale(), 0u);
  }
}
