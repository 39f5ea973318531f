// Tables registered by an application: searched in registration order
// before the built-in table, text slots holding ids or pointers, at most 32.
// Registrations last as long as the module, so this program has them alone.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "zq/errors.h"

namespace {

constexpr HRESULT kOnlySecond = (HRESULT)0x8004E0FC, kBoth = (HRESULT)0x8004E0FE, kNoText = (HRESULT)0x8004E0FD;

const ZQERRORENTRY kFirst[] = {
    {kBoth, ZQ_ERROR_TEXT_ID(48016)},  // a library string by id
    {E_FAIL, L"\n\nfirst table"},
    {E_FAIL, L"\n\nfirst table, second entry"},
    {E_UNEXPECTED, nullptr},           // no text, even though the library has one
    {kNoText, nullptr},
};
const ZQERRORENTRY kSecond[] = {
    {E_FAIL, L"\n\nsecond table"},
    {kOnlySecond, L"\n\nsecond only %s"},
    {kBoth, L"\n\nsecond table"},
};

std::wstring Text(HRESULT code) {
  LPCWSTR text = ZqErrorHandler_GetHresultString(code);
  return text ? text : L"<null>";
}

TEST(RegisteredTables, SearchedInOrderBeforeTheBuiltInTableAndLimitedTo32) {
  const std::wstring builtInFail = Text(E_FAIL), cancelled = Text(ZQ_E_CANCELLED);
  ASSERT_EQ(builtInFail, L"\n\nThe reason for the error could not be determined.");
  ASSERT_EQ(Text(kOnlySecond), L"<null>");

  // Bad input registers nothing.
  EXPECT_EQ(ZqErrorHandler_AddErrorTable(nullptr, 3), E_POINTER);
  EXPECT_EQ(ZqErrorHandler_AddErrorTable(kFirst, -1), E_INVALIDARG);
  EXPECT_EQ(Text(E_FAIL), builtInFail);

  ASSERT_EQ(ZqErrorHandler_AddErrorTable(kFirst, 5), S_OK);
  ASSERT_EQ(ZqErrorHandler_AddErrorTable(kSecond, 3), S_OK);
  EXPECT_EQ(Text(E_FAIL), L"\n\nfirst table");
  EXPECT_EQ(Text(kBoth), cancelled);
  EXPECT_EQ(Text(kOnlySecond), L"\n\nsecond only %s");
  EXPECT_EQ(Text(E_UNEXPECTED), L"<null>");
  EXPECT_EQ(Text(kNoText), L"<null>");
  EXPECT_EQ(Text(E_OUTOFMEMORY).substr(0, 28), L"\n\nThe system is low on memor");

  // Messages use the application's texts; a code whose slot is empty has
  // the missing-message text.
  EXPECT_EQ(std::wstring(ZqErrorHandler_GetErrorMessage(nullptr, E_FAIL, nullptr)),
            L"An error occurred during the current operation.\n\nfirst table");
  EXPECT_EQ(std::wstring(ZqErrorHandler_GetErrorMessage(L"Export", kOnlySecond, L"x.wav")),
            L"Export\n\nsecond only x.wav");
  EXPECT_EQ(std::wstring(ZqErrorHandler_GetErrorMessage(L"Op", kNoText, nullptr)),
            L"Op\n\nError 0x8004e0fd (message missing)");

  // 30 more tables fill the 32 places; the 33rd is refused and not searched.
  static ZQERRORENTRY more[31];
  for (int i = 0; i < 31; ++i) more[i] = {static_cast<HRESULT>(0x8004EF00 + i), L"\n\nmore"};
  ZQERRORENTRY empty{};
  EXPECT_EQ(ZqErrorHandler_AddErrorTable(&empty, 0), S_OK);  // an empty table takes a place too
  for (int i = 0; i < 29; ++i) ASSERT_EQ(ZqErrorHandler_AddErrorTable(&more[i], 1), S_OK) << i;
  EXPECT_EQ(Text(more[28].code), L"\n\nmore");
  EXPECT_EQ(ZqErrorHandler_AddErrorTable(&more[30], 1), S_FALSE);
  EXPECT_EQ(Text(more[30].code), L"<null>");
  EXPECT_EQ(ZqErrorHandler_AddErrorTable(&more[29], 1), S_FALSE);
  EXPECT_EQ(Text(more[29].code), L"<null>");
  EXPECT_EQ(Text(E_FAIL), L"\n\nfirst table");
}

}  // namespace
