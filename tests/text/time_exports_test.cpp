// Time text and time code through the module: parsers given texts that end
// right before an inaccessible page, bounded output, missing arguments, and
// clock text at 30 frames per second in the user's locale.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "guarded_memory.h"
#include "zq/lang.h"
#include "zq/timetext.h"

namespace {


using GuardedText = testsupport::GuardedMemory;

const std::vector<std::wstring>& Corpus() {
  static const std::vector<std::wstring> texts = {
      L"", L" ", L"-", L"- ", L"1", L"12", L"123", L"1:", L"1:2:", L"01:02:03:04", L"01:02:03;04", L"1.2.3",
      L"1,234.2.000", L"1.234.2.000", L"1+8", L"1,234+8", L"abc", L"1a", L"a1", L"1:30x", L"  -12.5  ", L"1e5",
      L"99999999999999999999999999999999999999", L"1:2:3:4:5:6:7:8:9:10:11:12:13:14:15:16:17:18:19:20",
      L"--5", L"\x00A0" L"5", L"5\x00A0", L"..", L"::", L"0x", L"9223372036854775808", L"1\t2\t3",
  };
  return texts;
}

ZQPOSFMT Format(DWORD kind) {
  ZQPOSFMT f{};
  f.kind = kind;
  f.sampleRate = 44100;
  f.frameRate = 29.97;
  f.tempo = 97.3;
  f.origin = 1234567;
  f.beatUnit = 4;
  f.beatsPerMeasure = 7;
  f.ticksPerQuarter = 960;
  return f;
}

// A parser's value and where it stopped, as an offset into the text.
struct Reading {
  LONGLONG value;
  LONGLONG extra;
  ptrdiff_t stop;
  bool operator==(const Reading& o) const { return value == o.value && extra == o.extra && stop == o.stop; }
};

using Parser = Reading (*)(const WCHAR* text, DWORD variant);

Reading Offset(const WCHAR* text, LPCWSTR end, LONGLONG value, LONGLONG extra = 0) {
  return {value, extra, end ? end - text : -1};
}

const struct {
  const char* name;
  DWORD variants;
  Parser parse;
} kParsers[] = {
    {"ZqTextToNanoTimeToken2", 19 * 8,
     [](const WCHAR* t, DWORD v) {
       ZQPOSFMT f = Format(v / 8);
       LPCWSTR end = nullptr;
       LONGLONG value = ZqTextToNanoTimeToken2(t, &f, 77, -1000000000000, 1000000000000, v % 8, &end);
       return Offset(t, end, value);
     }},
    {"ZQSMPTE_TextToSMPTE", 8,
     [](const WCHAR* t, DWORD v) {
       ZQSMPTEVAL s{v, 9, 9, 9, 9, 9};
       ZQSMPTE_TextToSMPTE(t, &s);
       return Reading{((s.hours * 100 + s.minutes) * 100 + s.seconds) * 100ll + s.frames, s.reserved, 0};
     }},
    {"ZqTextToTimeToken", 2,
     [](const WCHAR* t, DWORD v) {
       LPCWSTR end = nullptr;
       LONGLONG value = ZqTextToTimeToken(t, nullptr, v, &end);
       return Offset(t, end, value);
     }},
    {"ZqTextToHMSFToken", 2,
     [](const WCHAR* t, DWORD v) {
       ZQPOSFMT f = Format(3);
       LPCWSTR end = nullptr;
       LONGLONG value = ZqTextToHMSFToken(t, &f, v, &end);
       return Offset(t, end, value);
     }},
    {"ZqTextToFeetAndFramesToken", 2,
     [](const WCHAR* t, DWORD v) {
       ZQPOSFMT f = Format(15);
       return Reading{ZqTextToFeetAndFramesToken(t, &f, v), 0, 0};
     }},
    {"ZqTextToMusicTimeToken", 8,
     [](const WCHAR* t, DWORD v) {
       ZQPOSFMT f = Format(v < 4 ? 5 : 13);
       LPCWSTR end = nullptr;
       LONGLONG value = ZqTextToMusicTimeToken(t, &f, v % 4, &end);
       return Offset(t, end, value);
     }},
    {"ZqTextToMeasuresBeatsTicks", 2,
     [](const WCHAR* t, DWORD v) {
       ZQPOSFMT f = Format(5);
       LONGLONG m = 0, b = 0, k = 0;
       LONGLONG total = ZqTextToMeasuresBeatsTicks(t, &f, v, 3, &m, &b, &k);
       return Reading{total, m ^ (b << 20) ^ (k << 40), 0};
     }},
    {"ZqTextToTicks", 2,
     [](const WCHAR* t, DWORD v) {
       ZQPOSFMT f = Format(5);
       return Reading{ZqTextToTicks(t, &f, v, 1), 0, 0};
     }},
};

TEST(TimeParsers, NeverReadPastTheTextAndReadTheSameWhereverItLies) {
  GuardedText guard;
  ASSERT_TRUE(guard.Ready());
  for (const auto& parser : kParsers) {
    for (const std::wstring& text : Corpus()) {
      const WCHAR* guarded = guard.Place(text);
      for (DWORD variant = 0; variant < parser.variants; ++variant) {
        const Reading atPageEnd = parser.parse(guarded, variant);
        const Reading inMemory = parser.parse(text.c_str(), variant);
        EXPECT_EQ(atPageEnd, inMemory) << parser.name << " " << variant;
        EXPECT_GE(atPageEnd.stop, 0) << parser.name;
        EXPECT_LE(atPageEnd.stop, static_cast<ptrdiff_t>(text.size())) << parser.name;
      }
    }
  }
}

TEST(TimeText, OutputStaysWithinItsCapacity) {
  ZQPOSFMT f = Format(11);
  std::vector<WCHAR> out(ZQPOS_FORMAT_CAPACITY + 40, L'#');
  const std::wstring longFormat(400, L'x');
  EXPECT_EQ(ZqNanoTimeToTextFormat(out.data(), &f, 5, longFormat.c_str(), 0), ZQPOS_FORMAT_CAPACITY - 1);
  EXPECT_EQ(out[ZQPOS_FORMAT_CAPACITY - 1], 0);
  for (size_t i = ZQPOS_FORMAT_CAPACITY; i < out.size(); ++i) ASSERT_EQ(out[i], L'#') << i;

  // The longest table texts fit the documented capacity.
  std::vector<WCHAR> text(ZQPOS_TEXT_CAPACITY + 8, L'#');
  for (DWORD kind = 0; kind <= 19; ++kind) {
    f = Format(kind);
    f.origin = 0;
    for (LONGLONG v : {LLONG_MIN, LLONG_MAX, -1ll, 0ll}) {
      const int n = ZqNanoTimeToTextEx(text.data(), &f, v, 0);
      EXPECT_LT(n, ZQPOS_TEXT_CAPACITY) << kind;
      EXPECT_EQ(n, lstrlenW(text.data())) << kind;
      EXPECT_EQ(text[ZQPOS_TEXT_CAPACITY], L'#');
    }
  }
}

// The exports take no capacity: a caller's buffer may be exactly the text
// plus its terminator, so nothing may be written after that terminator. A
// negative time that shows as the zero position is that position, unsigned.
TEST(TimeText, NegativeTimesWriteNothingPastTheirTerminator) {
  using Export = int (*)(WCHAR*, const ZQPOSFMT*, LONGLONG, DWORD);
  const Export exports[] = {
      [](WCHAR* o, const ZQPOSFMT* f, LONGLONG v, DWORD flags) { return ZqNanoTimeToText(o, f, v, flags & ZQPOS_SHORT); },
      [](WCHAR* o, const ZQPOSFMT* f, LONGLONG v, DWORD flags) { return ZqNanoTimeToTextEx(o, f, v, flags); },
      [](WCHAR* o, const ZQPOSFMT* f, LONGLONG v, DWORD flags) {
        return ZqNanoTimeToTextFormat(o, f, v, nullptr, flags);
      },
  };
  for (DWORD kind = 0; kind <= 19; ++kind) {
    ZQPOSFMT f = Format(kind);
    f.origin = 0;
    for (LONGLONG v : {-1ll, -4999ll, -10000000ll, -123456789012ll, LLONG_MIN + 1}) {
      for (DWORD flags : {0ul, static_cast<unsigned long>(ZQPOS_SHORT)}) {
        for (const Export& e : exports) {
          WCHAR zero[ZQPOS_FORMAT_CAPACITY], out[ZQPOS_FORMAT_CAPACITY];
          const int zeroLength = e(zero, &f, 0, flags);
          wmemset(out, L'#', ZQPOS_FORMAT_CAPACITY);
          const int n = e(out, &f, v, flags);
          ASSERT_GT(n, 0) << kind << " " << v;
          EXPECT_EQ(out[n], 0) << kind << " " << v;
          for (int i = n + 1; i < ZQPOS_FORMAT_CAPACITY; ++i) ASSERT_EQ(out[i], L'#') << kind << " " << v << " at " << i;
          if (out[0] == L'-') {
            EXPECT_NE(std::wstring(out + 1), std::wstring(zero, zeroLength)) << kind << " " << v;
          } else {
            EXPECT_EQ(std::wstring(out), std::wstring(zero, zeroLength)) << kind << " " << v;
          }
        }
      }
    }
  }
}

TEST(TimeText, MissingArgumentsWriteNothingOrAnEmptyText) {
  WCHAR out[ZQPOS_TEXT_CAPACITY] = L"x";
  ZQPOSFMT f = Format(3);
  EXPECT_EQ(ZqNanoTimeToText(out, nullptr, 5, FALSE), 0);
  EXPECT_STREQ(out, L"");
  EXPECT_EQ(ZqNanoTimeToText(nullptr, &f, 5, FALSE), 0);
  EXPECT_EQ(ZqNanoTimeToTextEx(nullptr, &f, 5, 0), 0);
  EXPECT_EQ(ZqNanoTimeToTextFormat(nullptr, &f, 5, L"%u", 0), 0);
  EXPECT_EQ(ZqMeasuresAndTicksToText(nullptr, &f, 1, 2, 0, FALSE, 1), 0);
  EXPECT_EQ(ZqTicksToText(out, nullptr, 1, 0, FALSE, 1), 0);
  EXPECT_EQ(ZqNanoTimeToMeasures(5, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(ZqTextToFeetAndFramesToken(L"1", nullptr, TRUE), 0);
  EXPECT_EQ(ZqTextToMusicTimeToken(L"1.1", nullptr, 0, nullptr), 0);
  // Without a format string the table's is used.
  const int n = ZqNanoTimeToTextFormat(out, &f, 5, nullptr, 0);
  EXPECT_GT(n, 0);
  EXPECT_EQ(n, lstrlenW(out));
}

TEST(TimeText, ClockTextAtThirtyFramesInTheUsersLocale) {
  WCHAR time[72] = {}, decimal[72] = {};
  ZqGetInat(ZQINAT_TIME, time);
  ZqGetInat(ZQINAT_DECIMAL, decimal);
  const std::wstring t = time, d = decimal;
  ZQPOSFMT f{};
  f.kind = ZQPOS_HMS_FRAMES;
  f.frameRate = 30.0;
  struct Case {
    LONGLONG nanos;
    const WCHAR *h, *m, *s, *frames;
  } cases[] = {
      {0, L"00", L"00", L"00", L"00"},
      {37230000000 + 5000000, L"01", L"02", L"03", L"15"},  // 1:02:03 and half a second
      {333334, L"00", L"00", L"00", L"01"},                 // the first unit of frame 1
      {166667, L"00", L"00", L"00", L"01"},                 // just past half a frame
      {166666, L"00", L"00", L"00", L"00"},                 // just short of it
      {863999999999, L"00", L"00", L"00", L"00"},           // a unit before 24 h rounds to midnight
      {10000000 * 59 + 9833334, L"00", L"01", L"00", L"00"},  // 29.5 frames round up into the minute
  };
  WCHAR out[ZQPOS_TEXT_CAPACITY];
  for (const Case& c : cases) {
    const std::wstring expected = std::wstring(c.h) + t + c.m + t + c.s + d + c.frames;
    EXPECT_EQ(ZqNanoTimeToText(out, &f, c.nanos, FALSE), static_cast<int>(expected.size()));
    EXPECT_EQ(std::wstring(out), expected) << c.nanos;
    ZqNanoTimeToText(out, &f, c.nanos, TRUE);
    EXPECT_EQ(std::wstring(out), std::wstring(c.h) + t + c.m + t + c.s);
  }
}

}  // namespace
