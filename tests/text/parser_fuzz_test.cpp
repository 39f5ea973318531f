// Random and truncated texts through the number, time and time code
// parsers and the locale formatters. Every text ends right before an
// inaccessible page, so a read past its terminator faults; results must
// stay within what each function promises.
#include <windows.h>

#include <climits>
#include <cwchar>
#include <random>
#include <string>

#include "text_test_support.h"
#include "guarded_memory.h"
#include "zq/number.h"
#include "zq/smpte.h"
#include "zq/timetext.h"

namespace {


using GuardedText = testsupport::GuardedMemory;

std::wstring RandomText(std::mt19937& rng) {
  static const WCHAR kAlphabet[] = L"0123456789000999-+.,:;' \t/xXabcdefABCDEFeE$%()\x00A0\x3000\x2212";
  std::uniform_int_distribution<int> kind(0, 9), pick(0, static_cast<int>(wcslen(kAlphabet)) - 1),
      any(1, 0xFFFF), shortLength(0, 24), longLength(25, 400);
  const int length = kind(rng) == 0 ? longLength(rng) : shortLength(rng);
  std::wstring text;
  for (int i = 0; i < length; ++i) text += kind(rng) == 0 ? static_cast<WCHAR>(any(rng)) : kAlphabet[pick(rng)];
  // Long runs of one digit reach the saturating and clamping paths.
  if (kind(rng) == 0) text.insert(text.size() / 2, std::wstring(longLength(rng), L'9'));
  return text;
}

class ParserFuzz : public texttest::TextTest {
 protected:
  // Every parser on `text`, each with its own sanity checks.
  void Parse(const WCHAR* text, size_t length) {
    const WCHAR* end = nullptr;
    auto within = [&](const WCHAR* e) { return e >= text && e <= text + length; };

    ZqTextToDWordToken(text, &end);
    EXPECT_TRUE(within(end));
    ZqTextToDWordLongToken(text, &end);
    EXPECT_TRUE(within(end));
    ZqTextToLongToken(text, &end);
    EXPECT_TRUE(within(end));
    ZqTextToLongLongToken(text, &end);
    EXPECT_TRUE(within(end));
    ZqHexToDWordToken(text, &end);
    EXPECT_TRUE(within(end));
    ZqHexToDWordLongToken(text, &end);
    EXPECT_TRUE(within(end));
    for (BOOL locale : {FALSE, TRUE}) {
      ZqTextToDoubleToken(text, &end, locale);
      EXPECT_TRUE(within(end));
      const double d = ZqTextToDoubleTokenEx(text, 0.5, -100.0, 100.0, &end, locale);
      EXPECT_TRUE(d >= -100.0 && d <= 100.0);
    }
    const DWORD dw = ZqTextToDWordTokenEx(text, 7, 5, 500, &end);
    EXPECT_TRUE(dw >= 5 && dw <= 500);
    const LONG l = ZqTextToLongTokenEx(text, 0, -1000, 1000, &end);
    EXPECT_TRUE(l >= -1000 && l <= 1000);
    const LONGLONG ll = ZqTextToLongLongTokenEx(text, 0, -1000, 1000, &end);
    EXPECT_TRUE(ll >= -1000 && ll <= 1000);
    const ULONGLONG ull = ZqTextToDWordLongTokenEx(text, 3, 2, 9, &end);
    EXPECT_TRUE(ull >= 2 && ull <= 9);
    const DWORD hex = ZqHexToDWordTokenEx(text, 1, 1, 0xFFFF, &end);
    EXPECT_TRUE(hex >= 1 && hex <= 0xFFFF);

    for (DWORD type = 0; type <= 7; ++type) {
      ZQSMPTEVAL v{};
      v.type = type;
      ZQSMPTE_TextToSMPTE(text, &v);
      EXPECT_EQ(v.type, type);
      EXPECT_LT(v.hours, 24u);
      EXPECT_LT(v.minutes, 60u);
      EXPECT_LT(v.seconds, 60u);
      static const DWORD kLabelRates[] = {0, 30, 30, 25, 24, 30, 24, 0};
      if (kLabelRates[type]) {
        EXPECT_LT(v.frames, kLabelRates[type]);
      }
    }

    for (DWORD kind = 0; kind <= 19; ++kind) {
      format_.kind = kind;
      for (DWORD flags = 0; flags < 8; ++flags) {
        const LONGLONG value = ZqTextToNanoTimeToken2(text, &format_, 11, -5000000000LL, 5000000000LL, flags, &end);
        EXPECT_TRUE(within(end)) << kind << " " << flags;
        if (flags & ZQPOS_CLAMP) {
          EXPECT_TRUE(value >= -5000000000LL && value <= 5000000000LL);
        }
      }
    }
    for (BOOL shortForm : {FALSE, TRUE}) {
      ZqTextToTimeToken(text, &format_, shortForm, &end);
      EXPECT_TRUE(within(end));
      ZqTextToHMSFToken(text, &format_, shortForm, &end);
      EXPECT_TRUE(within(end));
      ZqTextToMusicTimeToken(text, &format_, shortForm ? ZQPOS_SHORT : 0, &end);
      EXPECT_TRUE(within(end));
      ZqTextToFeetAndFramesToken(text, &format_, shortForm);
    }
    LONGLONG m = 0, b = 0, t = 0;
    ZqTextToMeasuresBeatsTicks(text, &format_, ZQPOS_COUNT_FROM_ONE, 1, &m, &b, &t);
    ZqTextToTicks(text, &format_, ZQPOS_COUNT_FROM_ZERO, 0);
  }

  // The locale formatters write no more than they were given.
  void Format(const WCHAR* text, GuardedText& guard) {
    for (int capacity : {1, 2, 7, 64}) {
      WCHAR* out = guard.Output(capacity);
      int n = ZqFormatNumber(text, out, capacity);
      EXPECT_TRUE(n >= 0 && n < capacity && out[n] == 0);
      n = ZqFormatDecimalNumber(text, out, capacity);
      EXPECT_TRUE(n >= 0 && n < capacity && out[n] == 0);
      n = ZqFormatGroupDecimalNumber(text, out, capacity, 3);
      EXPECT_TRUE(n >= 0 && n < capacity && out[n] == 0);
    }
  }

  ZQPOSFMT format_{0, 44100, 29.97, 120.0, 0, 4, 4, 480};
};

TEST_F(ParserFuzz, RandomAndTruncatedTexts) {
  GuardedText guard, output;
  ASSERT_TRUE(guard.Ready() && output.Ready());
  std::mt19937 rng(20240611);
  for (int round = 0; round < 3000; ++round) {
    if (round == 1500) UseGerman();
    std::wstring text = RandomText(rng);
    if (text.size() > guard.MaxLength() - 64) text.resize(guard.MaxLength() - 64);
    // The whole text, then every cut of it (a text that ends early).
    for (size_t cut = text.size() + 1; cut-- > 0;) {
      if (cut < text.size() && cut % 3 != 0 && cut + 8 < text.size()) continue;
      const std::wstring piece = text.substr(0, cut);
      Parse(guard.Place(piece), piece.size());
      if (HasFailure()) {
        ADD_FAILURE() << "text of " << piece.size() << " characters";
        return;
      }
    }
    Format(guard.Place(text), output);
    if (HasFailure()) return;
  }
}

// Random formats through the printer. Every argument is the same valid
// text, so any directive reads something it may read; the output must stay
// within the capacity and be terminated.
TEST_F(ParserFuzz, RandomFormatsThroughThePrinter) {
  GuardedText guard, output;
  ASSERT_TRUE(guard.Ready() && output.Ready());
  size_t written = 0;
  std::mt19937 rng(7);
  static const WCHAR kAlphabet[] = L"%%%$$$(()) 0123456789.-+#lhI64diuoxXfeEgGzcs*,:!&abc";
  std::uniform_int_distribution<int> pick(0, static_cast<int>(wcslen(kAlphabet)) - 1), length(0, 40);
  const WCHAR* a = L"ab";
  for (int round = 0; round < 20000; ++round) {
    std::wstring format;
    for (int i = length(rng); i > 0; --i) format += kAlphabet[pick(rng)];
    const WCHAR* f = guard.Place(format);
    for (int capacity : {1, 5, 300}) {
      WCHAR* out = output.Output(capacity);
      const int n = zq::text::PrintBounded(out, capacity, f, a, a, a, a, a, a, a, a, a, a, a, a, a, a, a, a, a, a, a, a,
                                           a, a, a, a, a, a, a, a, a, a, a, a, a, a, a, a, a, a, a, a);
      if (!(n >= 0 && n < capacity && out[n] == 0)) {
        ADD_FAILURE() << "format of " << format.size() << " characters, capacity " << capacity;
        return;
      }
      written += n;
    }
  }
  EXPECT_GT(written, 20000u);  // the formats did print
}

TEST_F(ParserFuzz, EmptyAndNullTexts) {
  GuardedText guard;
  ASSERT_TRUE(guard.Ready());
  Parse(guard.Place(L""), 0);
  const WCHAR* end = reinterpret_cast<const WCHAR*>(1);
  EXPECT_EQ(ZqTextToLongToken(nullptr, &end), 0);
  ZQSMPTEVAL v{};
  ZQSMPTE_TextToSMPTE(nullptr, &v);
  EXPECT_EQ(v.hours + v.minutes + v.seconds + v.frames, 0u);
  EXPECT_EQ(ZqTextToNanoTimeToken2(nullptr, &format_, 11, 0, 100, ZQPOS_CLAMP, &end), 11);
}

}  // namespace
