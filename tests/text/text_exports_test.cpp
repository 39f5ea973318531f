// The text exports as a caller sees them through the module: tokens set up
// by the library start-up, message composition, ellipsis fitting with a
// real device context, labels from the library's own strings, and the
// locale-independent parsers and tidying operations.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <string>

#include "zq/lang.h"
#include "zq/number.h"
#include "zq/printf.h"

namespace {

std::wstring DecimalSeparator() {
  WCHAR text[72] = {};
  ZqGetInat(ZQINAT_DECIMAL, text);
  return text;
}

TEST(TextExports, PrinterAndTokensThroughTheModule) {
  WCHAR out[256];
  EXPECT_EQ(ZqPrintF(out, L"%d|%s|%x|100$$", -42, L"abc", 255), 15);
  EXPECT_STREQ(out, L"-42|abc|ff|100$");
  ASSERT_TRUE(ZqPrintF_AddToken(L"ExportsTest", L"value"));
  ZqPrintF(out, L"<$(exportstest)>");
  EXPECT_STREQ(out, L"<value>");
  EXPECT_TRUE(ZqPrintF_DeleteToken(L"EXPORTSTEST"));
  ZqPrintF(out, L"<$(ExportsTest)>");
  EXPECT_STREQ(out, L"<$(ExportsTest)>");
}

TEST(TextExports, ComposeUsesTheSystemInsertSyntax) {
  WCHAR out[64];
  EXPECT_EQ(ZqComposeStr(out, 64, L"%1 has %2!d! items", L"List", 5), 16);
  EXPECT_STREQ(out, L"List has 5 items");
  WCHAR small[5] = L"xxxx";
  EXPECT_EQ(ZqComposeStr(small, 5, L"%1 has %2!d! items", L"List", 5), 0);
  EXPECT_STREQ(small, L"");
  EXPECT_EQ(ZqComposeStr(out, 64, nullptr), 0);
  EXPECT_EQ(ZqComposeStr(nullptr, 64, L"x"), 0);
}

class Ellipsis : public ::testing::Test {
 protected:
  void SetUp() override {
    dc_ = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc_, nullptr);
    old_ = SelectObject(dc_, GetStockObject(DEFAULT_GUI_FONT));
  }
  void TearDown() override {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  int Width(const WCHAR* text) {
    SIZE size{};
    GetTextExtentPoint32W(dc_, text, lstrlenW(text), &size);
    return size.cx;
  }
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

TEST_F(Ellipsis, ShortensFromEitherSide) {
  struct Case {
    const WCHAR* text;
    int width;  // pixels, before the 2-pixel margin
    int capacity;
    bool fromEnd;
    BOOL result;
    const WCHAR* expected;
  } cases[] = {
      {L"Hello world", Width(L"Hello world") + 2, 64, false, TRUE, L"Hello world"},
      {L"Hello world", Width(L"Hello...") + 2, 64, false, TRUE, L"Hello..."},
      {L"Hello world", Width(L"...world") + 2, 64, true, TRUE, L"...world"},
      {L"Hello world", Width(L"...") + 2, 64, false, TRUE, L"..."},
      {L"Hello world", Width(L"...") + 2, 64, true, TRUE, L"..."},
      {L"Hello world", Width(L"...") + 1, 64, false, FALSE, L"Hello world"},
      {L"Hello world", Width(L"...") + 1, 64, true, FALSE, L"Hello world"},
      // The capacity limits the kept characters: n + 3 must fit with the terminator.
      {L"Hello world", Width(L"Hello...") + 2, 12, false, TRUE, L"Hello..."},
      {L"WWWWW", Width(L"WWW...") + 2, 6, false, TRUE, L"WW..."},
      {L"WWWWW", Width(L"...WWW") + 2, 6, true, TRUE, L"...WW"},
      {L"", 2, 4, false, TRUE, L""},
  };
  for (const auto& c : cases) {
    WCHAR text[64];
    wcscpy(text, c.text);
    BOOL result = c.fromEnd ? ZqCalcStringEllipsisFromEnd(dc_, text, c.capacity, c.width)
                            : ZqCalcStringEllipsis(dc_, text, c.capacity, c.width);
    EXPECT_EQ(result, c.result) << c.text << " " << c.width;
    EXPECT_STREQ(text, c.expected) << c.text << " " << c.width;
    if (result) {
      EXPECT_LE(Width(text), c.width - 2);
    }
  }
}

TEST_F(Ellipsis, BadArgumentsChangeNothing) {
  WCHAR text[16] = L"Hello world";
  EXPECT_FALSE(ZqCalcStringEllipsis(dc_, nullptr, 16, 10));
  EXPECT_FALSE(ZqCalcStringEllipsis(dc_, text, 0, 10));
  EXPECT_FALSE(ZqCalcStringEllipsis(nullptr, text, 16, 10));  // measuring fails
  EXPECT_FALSE(ZqCalcStringEllipsisFromEnd(nullptr, text, 16, 10));
  EXPECT_STREQ(text, L"Hello world");
}

TEST(TextExports, LabelsUseTheLibraryStringsAndTheRing) {
  const std::wstring dec = DecimalSeparator();
  EXPECT_STREQ(ZqGetLabeledStringFixed(-600, 1, -600, L" dB"), L"-Inf.");
  EXPECT_STREQ(ZqGetLabeledStringFixed(-700, 1, -600, L" dB"), L"-Inf.");
  EXPECT_EQ(std::wstring(ZqGetLabeledStringFixed(-123, 1, -600, L" dB")), L"-12" + dec + L"3 dB");
  EXPECT_EQ(std::wstring(ZqGetLabeledStringFixed(-600, 1, 0, nullptr)), L"-60" + dec + L"0");
  EXPECT_STREQ(ZqGetLabeledStringFixed(42, 0, 0, L"%"), L"42%");
  EXPECT_STREQ(ZqGetLabeledStringFloat(-60.0f, 1, -60.0f, L" dB"), L"-Inf.");
  EXPECT_EQ(std::wstring(ZqGetLabeledStringFloat(-12.34f, 1, -60.0f, L" dB")), L"-12" + dec + L"3 dB");
  EXPECT_STREQ(ZqGetLabeledStringFloat(-12.9f, 0, 0.0f, nullptr), L"-12");
  WCHAR largest[64];
  ZqLongToText(LONG_MAX, largest, TRUE);
  EXPECT_STREQ(ZqGetLabeledStringFloat(3e10f, 0, 0.0f, nullptr), largest);  // held at the int range
  // Number and suffix share one 24-unit slot.
  std::wstring cut = ZqGetLabeledStringFixed(1, 0, 0, L" and a suffix far too long to fit");
  EXPECT_EQ(cut, std::wstring(L"1 and a suffix far too long").substr(0, 23));
}

TEST(TextExports, PlainAndHexadecimalParsers) {
  LPCWSTR end = nullptr;
  LPCWSTR text = L"  1,234.5e3";
  EXPECT_DOUBLE_EQ(ZqTextToDoubleToken(text, &end, FALSE), 1234.5);
  EXPECT_EQ(end, text + 9);
  EXPECT_EQ(ZqHexToDWordToken(L"0X1f", nullptr), 31u);
  EXPECT_EQ(ZqHexToDWordLongToken(L" 0xFFFFFFFFFF!", &end), 0xFFFFFFFFFFull);
  EXPECT_EQ(*end, L'!');
  EXPECT_EQ(ZqHexToDWordToken(L"123456789", nullptr), 0x23456789u);  // wraps
  EXPECT_EQ(ZqHexToDWordTokenEx(L"0xZ", 9, 0, 100, nullptr), 9u);
  EXPECT_EQ(ZqHexToDWordTokenEx(L"ff", 9, 0, 100, nullptr), 100u);
  EXPECT_EQ(ZqHexToDWordLongTokenEx(L"123456789", 1, 0, ~0ull, nullptr), 0x123456789ull);
}

TEST(TextExports, FourCharacterCodes) {
  WCHAR out[5];
  EXPECT_EQ(ZqFourCCToString(0x20564D41, out), L' ');
  EXPECT_STREQ(out, L"AMV ");
  EXPECT_EQ(ZqFourCCToString(0x7F1F4142, out), L'.');
  EXPECT_STREQ(out, L"BA..");
}

TEST(TextExports, Tidying) {
  WCHAR text[32] = L"a-b-c";
  EXPECT_EQ(ZqStringReplaceChars(text, L'-', L'+'), 5);
  EXPECT_STREQ(text, L"a+b+c");
  EXPECT_EQ(ZqStringReplaceChars(nullptr, L'a', L'b'), 0);

  struct StripCase { const WCHAR* in; const WCHAR* out; } strips[] = {
      {L"  padded \t\r\n", L"padded"}, {L"", L""}, {L"   ", L""}, {L"in side", L"in side"}};
  for (const auto& c : strips) {
    wcscpy(text, c.in);
    EXPECT_EQ(ZqStripWhiteSpace(text), static_cast<int>(wcslen(c.out)));
    EXPECT_STREQ(text, c.out);
  }
  EXPECT_EQ(ZqStripWhiteSpace(nullptr), 0);

  WCHAR name[8];
  EXPECT_EQ(ZqPrepareName(L"  Track 1  ", name, 8), name);
  EXPECT_STREQ(name, L"Track 1");
  EXPECT_EQ(ZqPrepareName(L"  Track 12345", name, 8), name);
  EXPECT_STREQ(name, L"Track 1");
  EXPECT_EQ(ZqPrepareName(L"Track   x", name, 8), name);  // cut, then trailing blanks removed
  EXPECT_STREQ(name, L"Track");
  EXPECT_EQ(ZqPrepareName(L"   ", name, 8), nullptr);
  EXPECT_EQ(ZqPrepareName(nullptr, name, 8), nullptr);

  WCHAR menu[16];
  EXPECT_EQ(ZqFixNameForMenu(menu, L"R&B & Soul", 16), 12);
  EXPECT_STREQ(menu, L"R&&B && Soul");
  EXPECT_EQ(ZqFixNameForMenu(menu, L"R&B & Soul", 5), 4);
  EXPECT_STREQ(menu, L"R&&B");
  std::wstring many(300, L'&');
  WCHAR big[600];
  EXPECT_EQ(ZqFixNameForMenu(big, many.c_str(), 600), 258);  // the 260-character work area
  EXPECT_EQ(ZqFixNameForMenu(big, nullptr, 600), 0);
}

}  // namespace
