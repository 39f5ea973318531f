// Locale-aware printing against the platform's own number formatter, in
// whatever user locale the run was started with (LC_ALL under Wine: the
// suite runs once in English and once in German).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "zq/printf.h"

namespace {

std::wstring Info(LCTYPE type) {
  wchar_t text[16] = {};
  GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, 16);
  return text;
}

// What the platform prints for `digits` (internal form) with `decimals`
// decimals. Grouping is passed explicitly: Wine's own locale grouping
// string is misread as "3;0" regrouping.
std::wstring Platform(const wchar_t* digits, UINT decimals) {
  std::wstring decimal = Info(LOCALE_SDECIMAL), thousand = Info(LOCALE_STHOUSAND);
  NUMBERFMTW format{};
  format.NumDigits = decimals;
  format.LeadingZero = 1;
  format.Grouping = 3;
  format.lpDecimalSep = decimal.data();
  format.lpThousandSep = thousand.data();
  format.NegativeOrder = 1;
  wchar_t out[128] = {};
  GetNumberFormatW(LOCALE_USER_DEFAULT, 0, digits, &format, out, 128);
  return out;
}

template <typename... Args>
std::wstring Print(const wchar_t* format, Args... args) {
  wchar_t out[256] = {};
  ZqPrintF(out, format, args...);
  return out;
}

TEST(LocaleOracle, TheRunIsInTheLocaleItWasStartedIn) {
  const char* expected = std::getenv("QUILLET_EXPECT_LCID");
  ASSERT_NE(expected, nullptr);
  EXPECT_EQ(GetUserDefaultLCID() & 0x3FF, std::strtoul(expected, nullptr, 16) & 0x3FF);
}

TEST(LocaleOracle, GroupedNumbersMatchThePlatform) {
  EXPECT_EQ(Print(L"$d", 1234567), Platform(L"1234567", 0));
  EXPECT_EQ(Print(L"$d", -7654321), Platform(L"-7654321", 0));
  EXPECT_EQ(Print(L"$d", 999), Platform(L"999", 0));
  EXPECT_EQ(Print(L"$u", 4000000000u), Platform(L"4000000000", 0));
  EXPECT_EQ(Print(L"$I64d", 123456789012345LL), Platform(L"123456789012345", 0));
  EXPECT_EQ(Print(L"$.2f", 1234567.891), Platform(L"1234567.89", 2));
  EXPECT_EQ(Print(L"$.3f", -0.125), Platform(L"-0.125", 3));
  EXPECT_EQ(Print(L"$(1234567.5)"), Platform(L"1234567.5", 1));
  EXPECT_EQ(Print(L"$(42)"), Platform(L"42", 0));
  EXPECT_EQ(Print(L"$.2z", 1234567), Platform(L"12345.67", 2));
  // Plain directives never use the locale.
  EXPECT_EQ(Print(L"%d", 1234567), L"1234567");
  EXPECT_EQ(Print(L"%.2f", 1234567.891), L"1234567.89");
}

TEST(LocaleOracle, SeparatorDirectivesUseTheLocale) {
  EXPECT_EQ(Print(L"%*"), Info(LOCALE_SDECIMAL) == Info(LOCALE_STHOUSAND) ? Print(L"%*") : Info(LOCALE_SDECIMAL));
  EXPECT_EQ(Print(L"%,"), Info(LOCALE_SLIST));
  EXPECT_EQ(Print(L"%:"), Info(LOCALE_STIME));
}

}  // namespace
