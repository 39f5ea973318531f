// The formatted printer: directives, conversions against the run-time and
// the system number formatter, tokens, bounds, and the German locale.
#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "text_test_support.h"
#include "zq/printf.h"

namespace {

using texttest::Print;

class Printer : public texttest::TextTest {};

// The system formatter with English separators and groups of three.
std::wstring SystemNumber(const std::wstring& text, int decimals) {
  WCHAR thousand[] = L",", decimal[] = L".";
  NUMBERFMTW f{static_cast<UINT>(decimals), 1, 3, decimal, thousand, 1};
  WCHAR out[512];
  int n = GetNumberFormatW(LOCALE_INVARIANT, 0, text.c_str(), &f, out, 512);
  return n > 0 ? out : L"<failed>";
}

std::wstring RunTime(const WCHAR* format, ...) {
  WCHAR out[512];
  va_list args;
  va_start(args, format);
  vswprintf(out, 512, format, args);
  va_end(args);
  return out;
}

TEST_F(Printer, EscapesTokensAndMalformedDirectivesAsDocumented) {
  EXPECT_EQ(Print(L"100$$"), L"100$");
  EXPECT_EQ(Print(L"50%%"), L"50%");
  EXPECT_EQ(Print(L"50$%"), L"50%");
  EXPECT_EQ(Print(L"$(Unknown) x"), L"$(Unknown) x");
  EXPECT_EQ(Print(L"$(AppName"), L"$(AppName");
  EXPECT_EQ(Print(L"$(12ab)"), L"$(12ab)");
  EXPECT_EQ(Print(L"A format ending in %5"), L"A format ending in %5");
  EXPECT_EQ(Print(L"%"), L"%");
  EXPECT_EQ(Print(L"$5"), L"%5");  // an unfinished "$" spec is copied with "%"
  EXPECT_EQ(Print(L"%!,|%!.|%!:|%!x"), L",|.|:|x");
  EXPECT_EQ(Print(L"%&:|%&.|%&x"), L".|.|x");
  EXPECT_EQ(Print(L"%*|%,|%:"), L".|,|:");
  // A name beyond 260 characters is not a token.
  std::wstring longName = L"$(" + std::wstring(300, L'n') + L")";
  EXPECT_EQ(Print(longName.c_str()), longName);
}

TEST_F(Printer, SpecsWithForeignCharactersAreCopiedAndTakeNoArgument) {
  EXPECT_EQ(Print(L"%5n d|%d", 7), L"%5n d|7");
  EXPECT_EQ(Print(L"%Lf|%d", 7), L"%Lf|7");
  EXPECT_EQ(Print(L"%lld|%d", 7), L"%lld|7");
  // "I64" after a width: the argument is taken as 32 bits.
  EXPECT_EQ(Print(L"%5I64d|%d", 42, 7), L"   42|7");
  // A conversion that does not fit the 260-character work area adds nothing.
  EXPECT_EQ(Print(L"<%300d>%d", 1, 2), L"<>2");
  EXPECT_EQ(Print(L"<%f>%d", 1e300, 2), L"<>2");
}

TEST_F(Printer, PlainConversionsMatchTheRunTime) {
  const WCHAR* integerSpecs[] = {L"%5d", L"%-5d|", L"%05d", L"%x", L"%#X", L"%o", L"%+d", L"% i", L"%.3u", L"%hd", L"%ld"};
  const int values[] = {0, 7, -7, 70000, INT_MIN, INT_MAX};
  for (const WCHAR* spec : integerSpecs)
    for (int v : values) EXPECT_EQ(Print(spec, v), RunTime(spec, v)) << spec << " " << v;
  const WCHAR* doubleSpecs[] = {L"%f", L"%.3f", L"%e", L"%10.2E", L"%g", L"%G", L"%-12.4g|", L"%+.1f"};
  const double doubles[] = {0.0, 1.5, -2.25, 1234567.891, 1e-7, 6.02e23};
  for (const WCHAR* spec : doubleSpecs)
    for (double v : doubles) EXPECT_EQ(Print(spec, v), RunTime(spec, v)) << spec << " " << v;
  EXPECT_EQ(Print(L"%I64d|%I64x", -1234567890123LL, 0x123456789ALL), L"-1234567890123|123456789a");
  EXPECT_EQ(Print(L"[%s|%-6s|%.2s|%c|%hs]", L"abc", L"ab", L"xyz", L'Q', "narrow"), L"[abc|ab    |xy|Q|narrow]");
  EXPECT_EQ(Print(L"%d", 1234567), L"1234567");
  EXPECT_EQ(Print(L"%u", 4000000000u), L"4000000000");
}

// Every combination of flags, width, precision and size the printer writes
// itself, against the run-time's own formatter.
TEST_F(Printer, WrittenConversionsMatchTheRunTimeInEveryForm) {
  const WCHAR* flagSets[] = {L"", L"-", L"+", L" ", L"#", L"0", L"-0", L"+0", L"#0", L"-#", L" 0", L"+ #0-"};
  const WCHAR* widths[] = {L"", L"1", L"7", L"25"};
  const WCHAR* precisions[] = {L"", L".", L".0", L".1", L".5", L".12"};
  const int ints[] = {0, 1, -1, 7, 255, -255, 65536, 70000, -70000, INT_MIN, INT_MAX, 0x7FFF8001};
  const LONGLONG longs[] = {0, -1, LLONG_MIN, LLONG_MAX, 1234567890123LL, -98765432109876LL};
  const double doubles[] = {0.0, -0.0, 0.5, 1.5, 2.5, -2.25, 0.125, 1e-7, 999.9995, 1234567.891,
                            6.02e23, -1e15, 0.1, 1.0 / 3, 5e-324, 123456789012345678.0};
  for (const WCHAR* flags : flagSets)
    for (const WCHAR* width : widths)
      for (const WCHAR* precision : precisions) {
        const std::wstring base = std::wstring(L"%") + flags + width + precision;
        for (const WCHAR* tail : {L"d", L"i", L"u", L"x", L"X", L"o", L"hd", L"hu", L"hx", L"ld"})
          for (int v : ints) {
            const std::wstring spec = base + tail;
            ASSERT_EQ(Print(spec.c_str(), v), RunTime(spec.c_str(), v)) << spec << " " << v;
          }
        for (const WCHAR* tail : {L"d", L"u", L"x", L"o"})
          for (LONGLONG v : longs) {
            const std::wstring ours = std::wstring(L"%I64") + flags + width + precision + tail;
            const std::wstring crt = base + L"I64" + tail;
            ASSERT_EQ(Print(ours.c_str(), v), RunTime(crt.c_str(), v)) << ours << " " << v;
          }
        for (double v : doubles) {
          const std::wstring spec = base + L"f";
          ASSERT_EQ(Print(spec.c_str(), v), RunTime(spec.c_str(), v)) << spec << " " << v;
        }
      }
  // Precisions the exact expansion needs many digits for.
  for (int digits : {17, 20, 30, 60, 200})
    for (double v : {0.1, 1e-300, 1e22, -2.0 / 3}) {
      const std::wstring spec = L"%." + std::to_wstring(digits) + L"f";
      EXPECT_EQ(Print(spec.c_str(), v), RunTime(spec.c_str(), v)) << spec << " " << v;
    }
}

TEST_F(Printer, LocaleConversionsMatchTheSystemNumberFormatter) {
  const int values[] = {0, 5, -5, 999, 1000, -1000, 1234567, INT_MIN, INT_MAX};
  for (int v : values) {
    std::wstring plain = std::to_wstring(v);
    EXPECT_EQ(Print(L"$d", v), SystemNumber(plain, 0)) << v;
    EXPECT_EQ(Print(L"$i", v), SystemNumber(plain, 0)) << v;
  }
  EXPECT_EQ(Print(L"$u", 4000000000u), SystemNumber(L"4000000000", 0));
  EXPECT_EQ(Print(L"$I64d", 1234567890123LL), SystemNumber(L"1234567890123", 0));
  const double doubles[] = {0.5, -1234.5678, 1234567.891, 999.999};
  for (double v : doubles) {
    EXPECT_EQ(Print(L"$f", v), SystemNumber(RunTime(L"%f", v), 6)) << v;
    EXPECT_EQ(Print(L"$.2f", v), SystemNumber(RunTime(L"%.2f", v), 2)) << v;
  }
  EXPECT_EQ(Print(L"$d", 1234567), L"1,234,567");
  EXPECT_EQ(Print(L"[$8d]", 12345), L"[   12,345]");  // width first, then grouping
  EXPECT_EQ(Print(L"$05d", 42), L"00042");
  EXPECT_EQ(Print(L"[$-8d]", 12345), L"[12,345   ]");
  EXPECT_EQ(Print(L"$x", 0x12345), L"12345");        // no grouping for hexadecimal
  EXPECT_EQ(Print(L"$e", 12345.0), RunTime(L"%e", 12345.0));
  EXPECT_EQ(Print(L"$g", 1234.5), L"1234.5");        // decimal separator, no grouping
  EXPECT_EQ(Print(L"$g", 1e20), RunTime(L"%g", 1e20));
  EXPECT_EQ(Print(L"$(1234567.5)"), L"1,234,567.5");
  EXPECT_EQ(Print(L"$(-0.25)"), L"-0.25");
  EXPECT_EQ(Print(L"$(1,234,567)"), L"1,234,567");
}

TEST_F(Printer, FixedPointConversions) {
  EXPECT_EQ(Print(L"%.2z", 12345), L"123.45");
  EXPECT_EQ(Print(L"%z", 12345), L"12345");
  EXPECT_EQ(Print(L"$z", 12345), L"12,345");
  EXPECT_EQ(Print(L"$.2z", 123456789), L"1,234,567.89");
  EXPECT_EQ(Print(L"%.2z", 123456789), L"1234567.89");
  EXPECT_EQ(Print(L"%.3z", -5), L"-0.005");
  EXPECT_EQ(Print(L"$.1z Megabytes", 123456), L"12,345.6 Megabytes");
  EXPECT_EQ(Print(L"[%5.3z]", 42), L"[  042]");  // not the fixed form: printed as "d"
  EXPECT_EQ(Print(L"%.18z", 5), L"0.000000000000000005");
}

TEST_F(Printer, FormatsUsedByTheLibrary) {
  EXPECT_EQ(Print(L"%d$&:%d$&.%03d", 3, 2, 120), L"3.2.120");
  EXPECT_EQ(Print(L"$d Hz$, %d Bit$, %s", 44100, 16, L"Stereo"), L"44,100 Hz, 16 Bit, Stereo");
  EXPECT_EQ(Print(L"%s%s ($I64d bytes)", L"C:", L"\\x", 3000000000LL), L"C:\\x (3,000,000,000 bytes)");
}

TEST_F(Printer, GermanSeparators) {
  UseGerman();
  EXPECT_EQ(Print(L"$d", 1234567), L"1.234.567");
  EXPECT_EQ(Print(L"$.2f", 1234.5), L"1.234,50");
  EXPECT_EQ(Print(L"%.2z", 12345), L"123,45");
  EXPECT_EQ(Print(L"$(1234567.5)"), L"1.234.567,5");
  EXPECT_EQ(Print(L"%*|%,|$g", 0.5), L",|;|0,5");
  EXPECT_EQ(Print(L"%d", 1234567), L"1234567");  // plain stays plain
}

TEST_F(Printer, BoundedOutputIsAPrefixAndNeverOverruns) {
  ASSERT_TRUE(zq::text::AddToken(L"Bounded", L"token value"));
  const std::wstring full = Print(L"$(Bounded) $d %s $(98765.25) %.2z", 1234567, L"text", 4321);
  for (int capacity = 1; capacity <= static_cast<int>(full.size()) + 2; ++capacity) {
    std::vector<WCHAR> buffer(capacity + 8, L'#');
    int n = zq::text::PrintBounded(buffer.data(), capacity, L"$(Bounded) $d %s $(98765.25) %.2z", 1234567,
                                   L"text", 4321);
    int expected = std::min<int>(capacity - 1, static_cast<int>(full.size()));
    ASSERT_EQ(n, expected) << capacity;
    EXPECT_EQ(std::wstring(buffer.data()), full.substr(0, expected));
    for (int i = capacity; i < capacity + 8; ++i) ASSERT_EQ(buffer[i], L'#') << "overrun at " << capacity;
  }
  WCHAR one[1] = {L'#'};
  EXPECT_EQ(zq::text::PrintBounded(one, 1, L"abc"), 0);
  EXPECT_EQ(one[0], 0);
  EXPECT_EQ(zq::text::PrintBounded(nullptr, 10, L"abc"), 0);
  EXPECT_EQ(zq::text::PrintBounded(one, 0, L"abc"), 0);
  WCHAR out[8] = L"xxxxxxx";
  EXPECT_EQ(zq::text::PrintBounded(out, 8, nullptr), 0);
  EXPECT_EQ(out[0], 0);
  zq::text::DeleteToken(L"Bounded");
}

TEST_F(Printer, StringConversionsStopAtTheirLimit) {
  std::wstring longText(3000, L'a');
  EXPECT_EQ(Print(L"%s", longText.c_str()).size(), 1024u - 1u);
  EXPECT_EQ(Print(L"%s|", static_cast<const WCHAR*>(nullptr)), L"(null)|");
}

TEST_F(Printer, NeedsFormatting) {
  struct Case { const WCHAR* text; bool needs; } cases[] = {
      {L"plain", false}, {L"", false}, {nullptr, false}, {L"50%", true}, {L"$(AppName)", true}, {L"a$", true}};
  for (const auto& c : cases) EXPECT_EQ(zq::text::NeedsFormatting(c.text), c.needs);
}

TEST_F(Printer, TokensAreReplacedCaseInsensitivelyAndDeleted) {
  ASSERT_TRUE(ZqPrintF_AddToken(L"AppName", L"Quillet"));
  WCHAR out[256];
  ZqPrintF(out, L"An error occurred starting $(AppName).");
  EXPECT_STREQ(out, L"An error occurred starting Quillet.");
  ASSERT_TRUE(ZqPrintF_AddToken(L"APPNAME", L"Other"));
  EXPECT_EQ(Print(L"$(appname)"), L"Other");
  ASSERT_TRUE(ZqPrintF_AddToken(L"Percent", L"50% $d"));  // a value is not expanded again
  EXPECT_EQ(Print(L"$(Percent)|%d", 3), L"50% $d|3");
  ASSERT_TRUE(ZqPrintF_AddToken(nullptr, nullptr));
  EXPECT_EQ(Print(L"<$()>"), L"<>");
  EXPECT_TRUE(ZqPrintF_DeleteToken(L"appNAME"));
  EXPECT_FALSE(ZqPrintF_DeleteToken(L"AppName"));
  EXPECT_EQ(Print(L"$(AppName)"), L"$(AppName)");
  EXPECT_TRUE(ZqPrintF_DeleteToken(nullptr));
  EXPECT_TRUE(ZqPrintF_DeleteToken(L"percent"));
}

TEST_F(Printer, TableStaysSortedAndUniqueUnderManyNames) {
  for (int i = 0; i < 200; ++i) {
    std::wstring name = L"T" + std::to_wstring((i * 37) % 200);
    ASSERT_TRUE(zq::text::AddToken(name.c_str(), std::to_wstring(i).c_str()));
  }
  for (int i = 0; i < 200; ++i) {
    std::wstring name = L"$(t" + std::to_wstring((i * 37) % 200) + L")";
    EXPECT_EQ(Print(name.c_str()), std::to_wstring(i));
  }
  for (int i = 0; i < 200; ++i) EXPECT_TRUE(zq::text::DeleteToken((L"T" + std::to_wstring(i)).c_str()));
}

TEST_F(Printer, TokensCanBeChangedWhileOtherThreadsPrint) {
  ASSERT_TRUE(zq::text::AddToken(L"Shared", L"aaaa"));
  std::vector<std::thread> threads;
  std::atomic<int> bad{0};
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 2000; ++i) {
        if (t == 0) {
          zq::text::AddToken(L"Shared", (i & 1) ? L"bbbb" : L"aaaa");
          zq::text::AddToken((L"Other" + std::to_wstring(i % 50)).c_str(), L"x");
          zq::text::DeleteToken((L"Other" + std::to_wstring((i + 25) % 50)).c_str());
        } else {
          WCHAR s[16];
          zq::text::PrintBounded(s, 16, L"$(Shared)");
          if (wcscmp(s, L"aaaa") != 0 && wcscmp(s, L"bbbb") != 0) ++bad;
        }
      }
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(bad.load(), 0);
  zq::text::DeleteToken(L"Shared");
}

}  // namespace
