// Number text: locale formatting against the system number formatter,
// integer and double text, the "Token" parsers with bad input, byte sizes;
// in the English and a German locale record.
#include <climits>
#include <cstdint>
#include <string>

#include "text/number_text.h"
#include "text_test_support.h"
#include "zq/number.h"

namespace {

class NumberText : public texttest::TextTest {};

std::wstring SystemNumber(const std::wstring& text, int decimals, int grouping) {
  WCHAR thousand[] = L",", decimal[] = L".";
  NUMBERFMTW f{static_cast<UINT>(decimals), 1, static_cast<UINT>(grouping), decimal, thousand, 1};
  WCHAR out[512];
  return GetNumberFormatW(LOCALE_INVARIANT, 0, text.c_str(), &f, out, 512) > 0 ? out : L"<failed>";
}

using FormatFn = int(WINAPI*)(LPCWSTR, LPWSTR, int);

std::wstring Format(FormatFn fn, const WCHAR* text) {
  WCHAR out[256];
  int n = fn(text, out, 256);
  EXPECT_EQ(n, static_cast<int>(wcslen(out)));
  return out;
}

std::wstring GroupDecimal(const WCHAR* text, int decimals) {
  WCHAR out[256];
  int n = ZqFormatGroupDecimalNumber(text, out, 256, decimals);
  EXPECT_EQ(n, static_cast<int>(wcslen(out)));
  return out;
}

TEST_F(NumberText, LocaleFormattingRules) {
  struct Case { FormatFn fn; const WCHAR* in; const WCHAR* out; } cases[] = {
      {ZqFormatNumber, L"1234567", L"1,234,567"},
      {ZqFormatNumber, L"-1234.5", L"-1,235"},
      {ZqFormatNumber, L"007", L"007"},
      {ZqFormatNumber, L"0", L"0"},
      {ZqFormatNumber, L"-0", L"0"},
      {ZqFormatNumber, L"", L""},
      {ZqFormatNumber, nullptr, L""},
      {ZqFormatNumber, L"abc", L"abc"},
      {ZqFormatNumber, L"-", L"-"},
      {ZqFormatNumber, L"--5", L"--5"},
      {ZqFormatNumber, L"  -1234.5", L"  -1,235"},
      {ZqFormatNumber, L"+12345", L"+12,345"},
      {ZqFormatNumber, L"1234567 kB", L"1,234,567 kB"},
      {ZqFormatNumber, L"999999.5", L"1,000,000"},
      {ZqFormatNumber, L"1.#INF00", L"1.#INF00"},
      {ZqFormatDecimalNumber, L"1234.5", L"1234.5"},
      {ZqFormatDecimalNumber, L"-0.25", L"-0.25"},
      {ZqFormatDecimalNumber, L".25", L"0.25"},
      {ZqFormatDecimalNumber, L"12", L"12"},
      {ZqFormatDecimalNumber, L"12.", L"12."},
      {ZqFormatDecimalNumber, L"-0.0", L"0.0"},  // no sign on a zero
  };
  for (const auto& c : cases) EXPECT_EQ(Format(c.fn, c.in), c.out) << (c.in ? c.in : L"(null)");

  struct Rounding { const WCHAR* in; int decimals; const WCHAR* out; } rounding[] = {
      {L"1234567.891", -1, L"1,234,567.891"}, {L"1234.5", 2, L"1,234.50"}, {L"2.5", 0, L"3"},
      {L"-0.001", 2, L"0.00"},                {L"9999.96", 1, L"10,000.0"}, {L"-2.45", 1, L"-2.5"},
      {L"0.994", 2, L"0.99"},                 {L"0.995", 2, L"1.00"},
  };
  for (const auto& c : rounding) EXPECT_EQ(GroupDecimal(c.in, c.decimals), c.out) << c.in << " " << c.decimals;
}

TEST_F(NumberText, AgreesWithTheSystemFormatter) {
  // Numbers without rounding (Wine's formatter regroups badly when rounding carries).
  uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u; };
  for (int i = 0; i < 400; ++i) {
    std::wstring text = (next() >> 16) & 1 ? L"-" : L"";
    int integerDigits = static_cast<int>((next() >> 16) % 16);
    int fractionDigits = static_cast<int>((next() >> 16) % 5);
    if (integerDigits == 0) text += L'0';
    for (int d = 0; d < integerDigits; ++d) text += static_cast<WCHAR>(L'0' + (d == 0 ? 1 + (next() >> 16) % 9 : (next() >> 16) % 10));
    if (fractionDigits) text += L'.';
    for (int d = 0; d < fractionDigits; ++d) text += static_cast<WCHAR>(L'0' + (next() >> 16) % 10);
    if (text.find_first_of(L"123456789") == std::wstring::npos) continue;  // zero: see the rules
    for (int extra : {0, 2}) {
      EXPECT_EQ(GroupDecimal(text.c_str(), fractionDigits + extra), SystemNumber(text, fractionDigits + extra, 3)) << text;
    }
    EXPECT_EQ(Format(ZqFormatDecimalNumber, text.c_str()), SystemNumber(text, fractionDigits, 0)) << text;
  }
}

TEST_F(NumberText, GermanAndUnusualLocaleRecords) {
  UseGerman();
  EXPECT_EQ(Format(ZqFormatNumber, L"1234567"), L"1.234.567");
  EXPECT_EQ(GroupDecimal(L"-1234567.891", 2), L"-1.234.567,89");
  EXPECT_EQ(Format(ZqFormatDecimalNumber, L"1234.5"), L"1234,5");

  ZQINTERNATIONALS r = texttest::English();
  texttest::SetText(r.thousandSep, &r.thousandSepLength, L"");
  r.leadingZero = 0;
  zq::text::SetInternationals(r);
  EXPECT_EQ(Format(ZqFormatNumber, L"1234567"), L"1234567");
  EXPECT_EQ(GroupDecimal(L"0.5", 2), L".50");
  r = texttest::English();
  r.grouping = 4;
  texttest::SetText(r.thousandSep, &r.thousandSepLength, L"'");
  zq::text::SetInternationals(r);
  EXPECT_EQ(Format(ZqFormatNumber, L"123456789"), L"1'2345'6789");
}

TEST_F(NumberText, FormattingRespectsTheCapacityAndSharedBuffers) {
  WCHAR out[8] = L"#######";
  EXPECT_EQ(ZqFormatNumber(L"1234567", out, 6), 5);
  EXPECT_STREQ(out, L"1,234");
  EXPECT_EQ(out[6], L'#');
  EXPECT_EQ(ZqFormatNumber(L"1234567", out, 0), 0);
  EXPECT_EQ(ZqFormatNumber(L"1234567", nullptr, 8), 0);
  WCHAR shared[32] = L"x1234567.25";
  EXPECT_EQ(ZqFormatGroupDecimalNumber(shared, shared, 32, -1), 13);
  EXPECT_STREQ(shared, L"x1,234,567.25");
  // More digits than the formatter keeps: copied as they are.
  std::wstring huge(1000, L'9');
  WCHAR big[1100];
  ZqFormatNumber(huge.c_str(), big, 1100);
  EXPECT_EQ(std::wstring(big), huge);
}

TEST_F(NumberText, DecimalCountsBeyondTheWorkAreaCopyTheText) {
  // Counts whose sum with the digits would overflow an int must not reach
  // the digit buffer.
  for (int decimals : {INT_MAX, INT_MAX - 1, 1000000}) {
    WCHAR out[64];
    EXPECT_EQ(ZqFormatGroupDecimalNumber(L"12.5", out, 64, decimals), 4) << decimals;
    EXPECT_STREQ(out, L"12.5") << decimals;
  }
}

TEST_F(NumberText, IntegersToText) {
  WCHAR out[64], expected[64];
  const LONG longs[] = {0, 7, -7, 1000, -1234567, LONG_MIN, LONG_MAX};
  for (LONG v : longs) {
    swprintf(expected, 64, L"%ld", v);
    EXPECT_EQ(ZqLongToText(v, out, FALSE), static_cast<int>(wcslen(expected)));
    EXPECT_STREQ(out, expected);
    ZqLongToText(v, out, TRUE);
    EXPECT_EQ(std::wstring(out), SystemNumber(expected, 0, 3));
  }
  const DWORD dwords[] = {0, 9, 4294967295u};
  for (DWORD v : dwords) {
    swprintf(expected, 64, L"%lu", v);
    ZqDWordToText(v, out, FALSE);
    EXPECT_STREQ(out, expected);
  }
  const LONGLONG longlongs[] = {0, -1, INT64_MIN, INT64_MAX, 5000000000LL};
  for (LONGLONG v : longlongs) {
    swprintf(expected, 64, L"%I64d", v);
    ZqLongLongToText(static_cast<DWORD>(v), static_cast<LONG>(v >> 32), out, FALSE);
    EXPECT_STREQ(out, expected);
    ZqLongLongToText(static_cast<DWORD>(v), static_cast<LONG>(v >> 32), out, TRUE);
    EXPECT_EQ(std::wstring(out), SystemNumber(expected, 0, 3));
  }
  ZqDWordLongToText(0xFFFFFFFFu, 0xFFFFFFFFu, out, TRUE);
  EXPECT_STREQ(out, L"18,446,744,073,709,551,615");
  ZqDWordLongToText(42, 0, out, FALSE);
  EXPECT_STREQ(out, L"42");
}

TEST_F(NumberText, DoublesToText) {
  struct Case { double value; int decimals; BOOL group; const WCHAR* out; } cases[] = {
      {2.345, 2, FALSE, L"2.35"},
      {2.345, 12, FALSE, L"2.345000000"},
      {-0.001, 2, FALSE, L"0.00"},
      {-0.005, 2, FALSE, L"-0.01"},
      {0.5, 0, FALSE, L"1"},
      {1234567.891, 2, TRUE, L"1,234,567.89"},
      {-1234.5, 1, TRUE, L"-1,234.5"},
      {0.999999, 3, FALSE, L"1.000"},
      {1e30, 0, FALSE, L"18446744073709551615"},
      {-3.75, -2, FALSE, L"-4"},
  };
  for (const auto& c : cases) {
    WCHAR out[64];
    EXPECT_EQ(ZqDoubleToText(out, c.value, c.decimals, c.group), static_cast<int>(wcslen(c.out)));
    EXPECT_STREQ(out, c.out) << c.value << " " << c.decimals;
  }
  UseGerman();
  WCHAR out[64];
  ZqDoubleToText(out, 1234567.891, 2, TRUE);
  EXPECT_STREQ(out, L"1.234.567,89");
  ZqDoubleToText(out, 1234567.891, 2, FALSE);  // ungrouped text keeps the internal form
  EXPECT_STREQ(out, L"1234567.89");
}

TEST_F(NumberText, DecimalParsers) {
  LPCWSTR end = nullptr;
  LPCWSTR text = L"  -1,234 rest";
  EXPECT_EQ(ZqTextToLongTokenEx(text, 7, -10000, 10000, &end), -1234);
  EXPECT_EQ(end, text + 8);

  struct DWordCase { LPCWSTR in; DWORD value; int end; } dwords[] = {
      {L"-5", 0, 2}, {L"4294967296", 0, 10}, {L"4294967297", 1, 10}, {L"12.9x", 12, 4},
      {L"1,000,000", 1000000, 9}, {L"", 0, 0}, {L"  \t", 0, 3}, {L"abc", 0, 0}};
  for (const auto& c : dwords) {
    EXPECT_EQ(ZqTextToDWordToken(c.in, &end), c.value) << c.in;
    EXPECT_EQ(end, c.in + c.end) << c.in;
  }
  struct ExCase { LPCWSTR in; DWORD value; } dwordEx[] = {
      {L"abc", 5}, {L"0", 0}, {L"0x", 5}, {L"", 0}, {L"0 ", 0}, {L"500", 100}, {nullptr, 5}, {L"7", 7}};
  for (const auto& c : dwordEx) EXPECT_EQ(ZqTextToDWordTokenEx(c.in, 5, 0, 100, nullptr), c.value);
  EXPECT_EQ(ZqTextToDWordTokenEx(L"1", 5, 3, 100, nullptr), 3u);

  struct LongCase { LPCWSTR in; LONG value; } longs[] = {
      {L"99999999999", LONG_MAX}, {L"-99999999999", LONG_MIN}, {L"-", 0}, {L"-2147483648", LONG_MIN},
      {L"2147483647", LONG_MAX}, {L"-12.7", -12}, {L"1,2,3", 123}};
  for (const auto& c : longs) EXPECT_EQ(ZqTextToLongToken(c.in, nullptr), c.value) << c.in;
  EXPECT_EQ(ZqTextToLongTokenEx(L"-500", 0, -100, 100, nullptr), -100);
  EXPECT_EQ(ZqTextToLongTokenEx(L"x", -50, -100, 100, nullptr), -50);

  EXPECT_EQ(ZqTextToLongLongToken(L"-9223372036854775808", nullptr), INT64_MIN);
  EXPECT_EQ(ZqTextToLongLongToken(L"9223372036854775808", nullptr), INT64_MAX);
  EXPECT_EQ(ZqTextToLongLongTokenEx(L"5,000,000,000", 0, 0, INT64_MAX, nullptr), 5000000000LL);
  EXPECT_EQ(ZqTextToDWordLongToken(L"18446744073709551616", nullptr), 0ull);
  EXPECT_EQ(ZqTextToDWordLongTokenEx(L"5000000000", 0, 0, ~0ull, nullptr), 5000000000ull);
  EXPECT_EQ(ZqTextToDWordLongTokenEx(L"?", 77, 0, 100, nullptr), 77ull);

  EXPECT_EQ(ZqTextToLongToken(nullptr, &end), 0);
  EXPECT_EQ(end, nullptr);
}

TEST_F(NumberText, DoubleParsersInBothModesAndLocales) {
  LPCWSTR end = nullptr;
  LPCWSTR text = L"1.2.3 x";
  EXPECT_DOUBLE_EQ(ZqTextToDoubleToken(text, &end, FALSE), 1.2);  // the second "." is consumed
  EXPECT_EQ(end, text + 5);
  EXPECT_DOUBLE_EQ(ZqTextToDoubleToken(L"-1,234.5", nullptr, TRUE), -1234.5);
  EXPECT_DOUBLE_EQ(ZqTextToDoubleToken(L"-", nullptr, TRUE), 0.0);
  EXPECT_DOUBLE_EQ(ZqTextToDoubleToken(L".", nullptr, TRUE), 0.0);
  EXPECT_DOUBLE_EQ(ZqTextToDoubleTokenEx(L"junk", 2.5, 0.0, 10.0, nullptr, TRUE), 2.5);
  EXPECT_DOUBLE_EQ(ZqTextToDoubleTokenEx(L"20", 2.5, 0.0, 10.0, nullptr, TRUE), 10.0);
  // At most 63 characters are kept; the rest is still consumed.
  std::wstring longNumber = L"1" + std::wstring(70, L'0') + L";";
  EXPECT_DOUBLE_EQ(ZqTextToDoubleToken(longNumber.c_str(), &end, FALSE), 1e62);
  EXPECT_EQ(*end, L';');

  UseGerman();
  text = L"1.234,5 EUR";
  EXPECT_DOUBLE_EQ(ZqTextToDoubleToken(text, &end, TRUE), 1234.5);
  EXPECT_EQ(end, text + 7);
  EXPECT_DOUBLE_EQ(ZqTextToDoubleToken(L"1.234,5", nullptr, FALSE), 1.2345);
  EXPECT_EQ(ZqTextToLongTokenEx(L"  -1.234 rest", 7, -10000, 10000, nullptr), -1234);

  // Empty separators never match, and scanning still ends.
  ZQINTERNATIONALS r = texttest::English();
  texttest::SetText(r.thousandSep, &r.thousandSepLength, L"");
  texttest::SetText(r.decimalSep, &r.decimalSepLength, L"");
  zq::text::SetInternationals(r);
  text = L"12,5";
  EXPECT_DOUBLE_EQ(ZqTextToDoubleToken(text, &end, TRUE), 12.0);
  EXPECT_EQ(end, text + 2);
}

TEST_F(NumberText, ByteSizes) {
  struct Case { LONGLONG bytes; const WCHAR* compact; const WCHAR* spaced; } cases[] = {
      {0, L"0", L"0 bytes"},
      {1023, L"1023", L"1023 bytes"},
      {-5, L"-5", L"-5 bytes"},
      {-5000000000LL, L"-5000000000", L"-5000000000 bytes"},
      {1024, L"1.00KB", L"1.00 KB"},
      {1023999, L"1,000.00KB", L"1,000.00 KB"},
      {1024000, L"0.98MB", L"0.98 MB"},
      {1024000000, L"0.95GB", L"0.95 GB"},
      {1LL << 40, L"1,024.00GB", L"1,024.00 GB"},
  };
  for (const auto& c : cases) {
    WCHAR out[64];
    EXPECT_EQ(ZqGetByteSizeText(c.bytes, out), static_cast<int>(wcslen(c.compact)));
    EXPECT_STREQ(out, c.compact);
    ZqGetByteSizeText2(c.bytes, out);
    EXPECT_STREQ(out, c.spaced);
  }
  UseGerman();
  WCHAR out[64];
  ZqGetByteSizeText(1023999, out);
  EXPECT_STREQ(out, L"1.000,00KB");
}

}  // namespace
