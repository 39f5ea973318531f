// Time position text with the locale record set directly: every display
// kind shown, parsed and shown again in English, German and a record with
// unusual separators; the kinds' own rules; junk; zero rates and tempos;
// measures and ticks.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "text/smpte_internal.h"
#include "text/time_text_internal.h"
#include "text_test_support.h"
#include "zq/number.h"
#include "zq/timetext.h"

namespace {

using texttest::SetText;

ZQINTERNATIONALS Unusual() {
  ZQINTERNATIONALS r = texttest::German();
  SetText(r.timeSep, &r.timeSepLength, L".");
  SetText(r.measureBeatSep, &r.measureBeatSepLength, L"/");
  SetText(r.beatTickSep, &r.beatTickSepLength, L":");
  return r;
}

struct Locale {
  const char* name;
  ZQINTERNATIONALS record;
};

std::vector<Locale> Locales() {
  return {{"English", texttest::English()}, {"German", texttest::German()}, {"Unusual", Unusual()}};
}

ZQPOSFMT Format(DWORD kind, LONG sampleRate, double frameRate, double tempo, LONGLONG origin, WORD beatUnit,
                WORD beatsPerMeasure, LONG ticksPerQuarter) {
  ZQPOSFMT f{};
  f.kind = kind;
  f.sampleRate = sampleRate;
  f.frameRate = frameRate;
  f.tempo = tempo;
  f.origin = origin;
  f.beatUnit = beatUnit;
  f.beatsPerMeasure = beatsPerMeasure;
  f.ticksPerQuarter = ticksPerQuarter;
  return f;
}

// Rates, tempos and signatures that do not divide a second or a minute evenly.
std::vector<ZQPOSFMT> AwkwardFormats() {
  return {Format(0, 44100, 30000.0 / 1001.0, 97.3, 12345678, 4, 7, 960),
          Format(0, 48000, 24000.0 / 1001.0, 133.33, -7, 8, 3, 480),
          Format(0, 22050, 29.97, 61.7, 987654321, 8, 12, 1920)};
}

std::wstring Text(const ZQPOSFMT& f, LONGLONG nanos, DWORD flags) {
  WCHAR out[ZQPOS_TEXT_CAPACITY];
  int n = ZqNanoTimeToTextEx(out, &f, nanos, flags);
  EXPECT_EQ(n, static_cast<int>(wcslen(out)));
  return out;
}

// What one shown unit of a kind is worth in 100-ns units.
double Resolution(const ZQPOSFMT& f, bool brief) {
  switch (f.kind) {
    case 0: return 1e7 / f.sampleRate;
    case 1: case 2: return brief ? 1e7 : 1e4;
    case 3: return brief ? 1e7 : 1e7 / f.frameRate;
    case 4: return brief ? 1e7 / f.frameRate : 1e4 / f.frameRate;
    case 5: case 13: return brief ? 6e8 / f.tempo : 6e8 / f.tempo / f.ticksPerQuarter;
    case 6: case 8: return 1e7 * 1001 / 30000;
    case 7: return 1e7 / 30;
    case 9: return 1e7 / 25;
    case 10: return 1e7 / 24;
    case 11: return 0;
    case 12: return 10;
    case 14: return brief ? 6e8 / f.tempo : 6e5 / f.tempo;
    case 15: case 16: return 1e7 / f.frameRate;
    case 17: return brief ? 1e7 : 1e7 / 75;
    case 18: return 1e7 * 1001 / 24000;
  }
  return 0;
}

// Kinds whose text wraps at 24 hours (or a time-code day).
bool WrapsAtADay(DWORD kind) { return kind == 1 || kind == 3 || (kind >= 6 && kind <= 10) || kind >= 17; }

std::vector<LONGLONG> Values(const ZQPOSFMT& f) {
  std::mt19937_64 rng(f.kind * 7919 + f.sampleRate);
  const LONGLONG range = WrapsAtADay(f.kind) ? 20ll * 3600 * 10000000 : 1000000000000000ll;
  std::vector<LONGLONG> v = {f.origin, f.origin + 1, f.origin - 1, f.origin + 10000000, f.origin - 600000000};
  for (int i = 0; i < 150; ++i) v.push_back(f.origin + static_cast<LONGLONG>(rng() % (2 * range)) - range);
  for (int i = 0; i < 50; ++i) v.push_back(f.origin + static_cast<LONGLONG>(rng() % 100000000));
  return v;
}

class TimeText : public texttest::TextTest {};

TEST_F(TimeText, EveryKindReadsBackWhatItShows) {
  for (const Locale& locale : Locales()) {
    zq::text::SetInternationals(locale.record);
    for (ZQPOSFMT f : AwkwardFormats()) {
      for (DWORD kind = 0; kind <= 18; ++kind) {
        f.kind = kind;
        for (DWORD flags : {0u, 1u, 2u, 3u}) {
          const bool brief = flags & ZQPOS_SHORT;
          const double bound = Resolution(f, brief) + 2;
          int wrong = 0;
          for (LONGLONG v : Values(f)) {
            if (wrong >= 3) break;
            // A length is shown as it is, so it stays within the day.
            const LONGLONG shown = (flags & ZQPOS_LENGTH) ? v - f.origin : v;
            const std::wstring first = Text(f, shown, flags);
            LPCWSTR end = nullptr;
            const LONGLONG parsed = ZqTextToNanoTimeToken2(first.c_str(), &f, 0, 0, 0, flags, &end);
            const std::wstring again = Text(f, parsed, flags);
            const double error = std::fabs(static_cast<double>(parsed - shown));
            if (again != first || error > bound || end != first.c_str() + first.size()) {
              ++wrong;
              ADD_FAILURE() << locale.name << " kind " << kind << " flags " << flags << " rate " << f.frameRate
                            << ": " << shown << " shows \"" << std::string(first.begin(), first.end())
                            << "\", reads " << parsed << " (off by " << error << ", bound " << bound
                            << "), shows \"" << std::string(again.begin(), again.end()) << "\", stopped at "
                            << (end ? end - first.c_str() : -1);
            }
          }
        }
      }
    }
  }
}

TEST_F(TimeText, DisplayKinds) {
  const ZQPOSFMT music = Format(5, 44100, 24.0, 120.0, 0, 4, 4, 960);
  struct Case {
    DWORD kind;
    double frameRate;
    LONGLONG nanos;
    DWORD flags;
    const WCHAR* english;
    const WCHAR* german;
  } cases[] = {
      {12, 24, 10000000, 0, L"1,000,000", L"1.000.000"},
      {1, 24, 37230500000, 0, L"01:02:03.050", L"01:02:03,050"},
      {1, 24, 37230500000, 1, L"01:02:03", L"01:02:03"},
      {1, 24, 25ll * 3600 * 10000000, 0, L"01:00:00.000", L"01:00:00,000"},
      {2, 24, 19000000, 1, L"1", L"1"},
      {2, 24, 12345000000, 0, L"1,234.500", L"1.234,500"},
      {2, 24, 12345000000, 1, L"1,234", L"1.234"},
      {0, 24, 10000000, 0, L"44,100", L"44.100"},
      {3, 30, 37230000000 + 5000000, 0, L"01:02:03.15", L"01:02:03,15"},
      {3, 30, 37230000000 + 5000000, 1, L"01:02:03", L"01:02:03"},
      {4, 25, 10000000, 0, L"25.000", L"25,000"},
      {4, 25, 10000000, 1, L"25", L"25"},
      {5, 24, 0, 0, L"1.1.000", L"1.1.000"},
      {5, 24, 5000000, 0, L"1.2.000", L"1.2.000"},
      {5, 24, 5000000 + 5208, 0, L"1.2.001", L"1.2.001"},
      {5, 24, 5000000, 1, L"1.2", L"1.2"},
      {5, 24, 0, 2, L"0.0.000", L"0.0.000"},
      {13, 24, 5000000, 0, L"0.1.000", L"0.1.000"},
      {13, 24, 20000000ll * 1000, 0, L"1,000.0.000", L"1.000.0.000"},
      {7, 24, 600000000, 0, L"00:01:00:00", L"00:01:00:00"},
      {8, 24, 600000000, 0, L"00:00:59;28", L"00:00:59;28"},  // 1798.2 frames at 29.97
      {9, 24, 600000000 + 4000000, 0, L"00:01:00:10", L"00:01:00:10"},
      {14, 24, 10000000, 0, L"2.000", L"2,000"},
      {14, 24, 10000000, 1, L"2", L"2"},
      {15, 24, 20000000, 0, L"1+8", L"1+8"},
      {16, 24, 20000000, 0, L"3+0", L"3+0"},
      {15, 25, 160000000000, 0, L"10,000+0", L"10.000+0"},
      {17, 24, 15000000, 0, L"00:00:01:38", L"00:00:01:38"},  // 37.5 frames at 75 round up
      {17, 24, 15000000, 1, L"00:00:01", L"00:00:01"},
      {12, 24, 14, 0, L"1", L"1"},
      {12, 24, 15, 0, L"2", L"2"},
      {11, 24, -5, 0, L"-5", L"-5"},
      {99, 24, 1234567, 0, L"1,234,567", L"1.234.567"},
  };
  for (const Case& c : cases) {
    ZQPOSFMT f = music;
    f.kind = c.kind;
    f.frameRate = c.frameRate;
    zq::text::SetInternationals(texttest::English());
    EXPECT_EQ(Text(f, c.nanos, c.flags), c.english) << "kind " << c.kind << " " << c.nanos;
    UseGerman();
    EXPECT_EQ(Text(f, c.nanos, c.flags), c.german) << "kind " << c.kind << " " << c.nanos;
  }
}

TEST_F(TimeText, OriginAndSign) {
  ZQPOSFMT f = Format(2, 44100, 25, 120, 10000000, 4, 4, 960);
  EXPECT_EQ(Text(f, 0, 0), L"-1.000");
  EXPECT_EQ(Text(f, 0, ZQPOS_LENGTH), L"0.000");
  EXPECT_EQ(Text(f, 25000000, 0), L"1.500");
  EXPECT_EQ(Text(f, 9990000, 0), L"-0.001");
  EXPECT_EQ(Text(f, 9999999, 0), L"0.000");  // nothing to show but zero: no sign
  f.kind = 7;
  EXPECT_EQ(Text(f, 9999999, 0), L"00:00:00:00");
  EXPECT_EQ(Text(f, 9000000, 0), L"-00:00:00:03");
  f.kind = 11;
  f.origin = LLONG_MAX;
  EXPECT_EQ(Text(f, LLONG_MIN, 0), L"-9,223,372,036,854,775,808");  // the difference saturates
  WCHAR out[ZQPOS_TEXT_CAPACITY];
  EXPECT_EQ(ZqNanoTimeToText(out, &f, LLONG_MAX, FALSE), 1);
  EXPECT_STREQ(out, L"0");
}

// Raw units print both 64-bit extremes exactly, through the table's format
// and a caller's.
TEST_F(TimeText, RawUnitsPrintBothExtremesExactly) {
  struct Case { DWORD kind; LONGLONG nanos; const WCHAR* format; const WCHAR* text; } cases[] = {
      {11, LLONG_MIN, nullptr, L"-9,223,372,036,854,775,808"},
      {11, LLONG_MAX, nullptr, L"9,223,372,036,854,775,807"},
      {99, LLONG_MIN, nullptr, L"-9,223,372,036,854,775,808"},
      {11, LLONG_MIN, L"%I64d units", L"-9223372036854775808 units"},
      {11, LLONG_MIN + 1, nullptr, L"-9,223,372,036,854,775,807"},
      {12, LLONG_MIN, nullptr, L"-922,337,203,685,477,581"},
      {12, LLONG_MAX, nullptr, L"922,337,203,685,477,581"},
  };
  for (const auto& c : cases) {
    ZQPOSFMT f = Format(c.kind, 44100, 25, 120, 0, 4, 4, 960);
    WCHAR out[ZQPOS_FORMAT_CAPACITY];
    const int n = ZqNanoTimeToTextFormat(out, &f, c.nanos, c.format, 0);
    EXPECT_STREQ(out, c.text) << c.kind << " " << c.nanos;
    EXPECT_EQ(n, lstrlenW(out));
  }
  WCHAR out[ZQPOS_TEXT_CAPACITY];
  EXPECT_EQ(ZqLongLongToText(0, static_cast<LONG>(0x80000000), out, TRUE), 26);
  EXPECT_STREQ(out, L"-9,223,372,036,854,775,808");
}

TEST_F(TimeText, CallersFormatGetsTheKindsValuesAndZerosAfterThem) {
  ZQPOSFMT f = Format(1, 44100, 25, 120, 0, 4, 4, 960);
  WCHAR out[ZQPOS_FORMAT_CAPACITY];
  EXPECT_EQ(ZqNanoTimeToTextFormat(out, &f, 37230500000, L"%u h %u m", 0), 7);
  EXPECT_STREQ(out, L"1 h 2 m");
  ZqNanoTimeToTextFormat(out, &f, 37230500000, L"%u %u %u %u %u %u", 0);
  EXPECT_STREQ(out, L"1 2 3 50 0 0");
  f.kind = 2;
  ZqNanoTimeToTextFormat(out, &f, 19000000, L"$.0f s", 0);  // not exactly "$.0f": the double, rounded
  EXPECT_STREQ(out, L"2 s");
  ZqNanoTimeToTextFormat(out, &f, 19000000, L"%.1f s", 0);
  EXPECT_STREQ(out, L"1.9 s");
  f.kind = 15;
  ZqNanoTimeToTextFormat(out, &f, 20000000, L"$I64d ft $I64d fr", 0);
  EXPECT_STREQ(out, L"1 ft 10 fr");
  EXPECT_EQ(ZqNanoTimeToTextFormat(out, nullptr, 5, L"x", 0), 0);
  EXPECT_STREQ(out, L"");
}

LONGLONG Parse(const ZQPOSFMT& f, const WCHAR* text, DWORD flags, LPCWSTR* end = nullptr) {
  return ZqTextToNanoTimeToken2(text, &f, 777, -1000000000000000000ll, 1000000000000000000ll, flags, end);
}

TEST_F(TimeText, ParsingByKind) {
  const ZQPOSFMT base = Format(0, 44100, 25, 120, 0, 4, 4, 960);
  auto with = [&](DWORD kind) {
    ZQPOSFMT f = base;
    f.kind = kind;
    return f;
  };
  // Clock time with milliseconds: in the full form the last field is the
  // fraction, unless the text is one bare field.
  EXPECT_EQ(Parse(with(1), L"1:30", 0), 13000000);
  EXPECT_EQ(Parse(with(1), L"90", 0), 900000000);
  EXPECT_EQ(Parse(with(1), L".5", 0), 5000000);
  EXPECT_EQ(Parse(with(1), L"1:30", 1), 900000000);
  EXPECT_EQ(Parse(with(1), L"0:0:1.23456", 0), 12340000);  // more than three digits: the first three
  EXPECT_EQ(ZqTextToTimeToken(L"1:02:03.4", nullptr, FALSE, nullptr), 3723400);
  EXPECT_EQ(Parse(with(3), L"1:00:00:12", 0), 36000000000 + 4800000);
  EXPECT_EQ(Parse(with(3), L"1:00:00", 1), 36000000000);
  EXPECT_EQ(ZqTextToHMSFToken(L"2:12", &base, FALSE, nullptr), 24800000);
  EXPECT_EQ(Parse(with(17), L"1:02:03", 1), 37230000000);  // CD time, short form: no frames
  EXPECT_EQ(Parse(with(17), L"1:02:03", 0), 620000000 + 400000);  // full form: m:s:frames at 75
  EXPECT_EQ(Parse(with(11), L"-2", 0), -2);
  EXPECT_EQ(Parse(with(12), L"7", 0), 70);
  EXPECT_EQ(Parse(with(2), L"1.235", 0), 12350000);
  EXPECT_EQ(Parse(with(2), L"0.0000001", 0), 1);
  EXPECT_EQ(Parse(with(0), L"44100", 0), 10000000);
  EXPECT_EQ(Parse(with(4), L"50", 0), 20000000);
  EXPECT_EQ(Parse(with(14), L"3", 0), 15000000);
  EXPECT_EQ(Parse(with(5), L"1.1.000", 0), 0);
  EXPECT_EQ(Parse(with(5), L"2.3.480", 0), 32500000);  // 6.5 quarters at 120
  EXPECT_EQ(Parse(with(5), L"2.3.480", ZQPOS_LENGTH), 57500000);
  EXPECT_EQ(Parse(with(13), L"1.2.480", 0), 32500000);
  EXPECT_EQ(ZqTextToMusicTimeToken(L"3", &base, ZQPOS_LENGTH, nullptr), 15625);  // one field: ticks
  EXPECT_EQ(Parse(with(15), L"1+8", 0), 19200000);  // 48 frames at 25
  EXPECT_EQ(Parse(with(16), L"3+0", 0), 19200000);
  EXPECT_EQ(ZqTextToFeetAndFramesToken(L"1 8", &base, TRUE), 19200000);
  EXPECT_EQ(ZqTextToFeetAndFramesToken(L"1 8", &base, FALSE), 9600000);
  EXPECT_EQ(Parse(with(7), L"00:01:00:00", 0), 600000000);
  EXPECT_EQ(Parse(with(8), L"00:01:00;02", 0), 600600000);  // frame 1800 at 29.97
  EXPECT_EQ(Parse(with(8), L"25:00:00;00", 0), Parse(with(8), L"01:00:00;00", 0));

  // The origin is added unless the text is a length.
  ZQPOSFMT shifted = with(11);
  shifted.origin = 1000;
  EXPECT_EQ(Parse(shifted, L"-2", 0), 998);
  EXPECT_EQ(Parse(shifted, L"-2", ZQPOS_LENGTH), -2);
  EXPECT_EQ(ZqTextToNanoTimeTokenEx(L"abc", &shifted, FALSE, 50, -100000, 100000, nullptr), 1050);
  EXPECT_EQ(Parse(shifted, L"abc", ZQPOS_CLAMP | ZQPOS_LENGTH), 777);
  EXPECT_EQ(ZqTextToNanoTimeToken(L"", &shifted, FALSE, nullptr), 1000);  // empty: the default 0, shifted
  EXPECT_EQ(ZqTextToNanoTimeTokenEx(L"5000000", &shifted, FALSE, 0, -100, 100, nullptr), 100);
}

TEST_F(TimeText, JunkGetsTheDefaultOrStopsWhereTheNumberEnds) {
  const ZQPOSFMT base = Format(0, 44100, 25, 120, 0, 4, 4, 960);
  const LONGLONG low = -1000000000000000000ll;
  struct Case {
    DWORD kind;
    const WCHAR* text;
    DWORD flags;
    LONGLONG expected;
    int stop;  // characters before the end position; -1: the text's end
  } cases[] = {
      {1, L"", 4, 777, -1},
      {1, L"abc", 4, 777, 0},
      {1, L"  -  ", 4, 777, -1},
      {1, L"- abc", 4, 777, 2},
      {1, L"12:34:56.789:1", 4, 452967890000, 12},  // four fields read, the fifth left
      {1, L"1:2:3:4", 5, 37230000000, 5},            // short form: three fields
      {1, L"1.5x", 4, 650000000, -1},                // a trailing letter separates: 1 5 0
      {1, L"99999999999999999999:00", 4, low, -1},   // beyond nano time: the minimum
      {1, L"99999999999999999999:00", 0, LLONG_MIN, -1},
      {2, L"1e5", 4, 10000000, 1},
      {2, L"abc", 4, 777, 0},
      {2, L"99999999999999999999999", 4, -low, -1},  // clamped to the caller's maximum
      {2, L"-99999999999999999999999", 4, low, -1},
      {3, L"x1:2", 4, 10800000, -1},  // 1 s and 2 frames at 25
      {5, L"abc", 4, 777, 0},
      {5, L"1.2.3.4", 4, 5000000 + 15625, 5},
      {5, L"1.2.3.4", 5, 5000000, 3},
      {8, L"abc", 4, 777, 0},
      {9, L"0", 4, 0, -1},
      {9, L"0x", 4, 0, -1},  // a trailing separator: fields 0 0, parsed to the end
      {11, L"9223372036854775808", 0, LLONG_MAX, -1},
      {12, L"999999999999999999", 0, LLONG_MIN, -1},
      {12, L"999999999999999999", 4, low, -1},
      {15, L"abc", 4, 777, 0},
      {15, L"1+2+3", 4, 42 * 400000, 3},
      {16, L"0", 4, 0, -1},
      {14, L"zz", 4, 777, 0},
      {18, L"1:2:3:4:5:6", 4, (89356ll * 1001 * 10000000 + 23999) / 24000, 7},  // frame 89,356 at 24000/1001
  };
  for (const Case& c : cases) {
    ZQPOSFMT f = base;
    f.kind = c.kind;
    LPCWSTR end = nullptr;
    EXPECT_EQ(Parse(f, c.text, c.flags, &end), c.expected) << "kind " << c.kind << " \"" << c.text << "\"";
    const int stop = c.stop < 0 ? static_cast<int>(wcslen(c.text)) : c.stop;
    EXPECT_EQ(end, c.text + stop) << "kind " << c.kind << " \"" << c.text << "\"";
  }
  LPCWSTR end = L"x";
  ZQPOSFMT f = base;
  EXPECT_EQ(ZqTextToNanoTimeToken2(nullptr, &f, 9, 0, 0, 0, &end), 9);
  EXPECT_EQ(end, nullptr);
  EXPECT_EQ(ZqTextToNanoTimeToken2(L"5", nullptr, 9, 0, 0, 0, nullptr), 9);
  EXPECT_EQ(ZqTextToTimeToken(nullptr, nullptr, FALSE, nullptr), 0);
  EXPECT_EQ(ZqTextToTicks(nullptr, &f, 0, 1), 0);
}

TEST_F(TimeText, ZeroRatesTemposAndSignaturesGiveZeroValues) {
  ZQPOSFMT zero = Format(0, 0, 0.0, 0.0, 0, 0, 0, 0);
  const struct {
    DWORD kind;
    const WCHAR* text;
  } cases[] = {{0, L"0"}, {3, L"00:00:01.00"}, {4, L"0.000"}, {5, L"1.1.000"}, {13, L"0.0.000"},
               {14, L"0.000"}, {15, L"0+0"}, {16, L"0+0"}};
  for (const auto& c : cases) {
    zero.kind = c.kind;
    EXPECT_EQ(Text(zero, 10000000, 0), c.text) << c.kind;
    EXPECT_EQ(Parse(zero, c.text, 0), c.kind == 3 ? 10000000 : 0) << c.kind;
  }
  for (double bad : {std::nan(""), -120.0, HUGE_VAL}) {
    ZQPOSFMT f = Format(14, -5, bad, bad, 0, 4, 4, 960);
    EXPECT_EQ(Text(f, 10000000, 0), L"0.000");
    f.kind = 4;
    EXPECT_EQ(Text(f, 10000000, 0), L"0.000");
    EXPECT_EQ(Parse(f, L"12", 0), 0);
    f.kind = 0;
    EXPECT_EQ(Text(f, 10000000, 0), L"0");
  }
  LONGLONG m = 1, b = 1, t = 1;
  EXPECT_EQ(ZqNanoTimeToMeasures(50000000, &zero, &m, &b, &t), 0);
  EXPECT_EQ(m + b + t, 0);
  ZQSMPTEVAL clock{};
  ZqNanoTimeToHMSF(15000000, &clock, 0.0);
  EXPECT_EQ(clock.seconds, 1u);
  EXPECT_EQ(clock.frames, 0u);
  clock.frames = 12;
  EXPECT_EQ(ZqHMSFToNanoTime(&clock, 0.0), 10000000);  // frames ignored without a rate
  WCHAR out[ZQPOS_TEXT_CAPACITY];
  // A zero beat unit reads as a quarter; a zero divisor divides by one.
  ZQPOSFMT ticks = Format(0, 0, 0, 0, 0, 0, 4, 960);
  ZqMeasuresAndTicksToText(out, &ticks, 2, 960 + 5, 0, FALSE, 0);
  EXPECT_STREQ(out, L"2.1.005");
  ticks.beatsPerMeasure = 0;
  ZqTicksToText(out, &ticks, 5000, 0, FALSE, 1);
  EXPECT_STREQ(out, L"0.0.200");
  ticks.ticksPerQuarter = 0;
  ZqTicksToText(out, &ticks, 5000, 1, FALSE, 1);
  EXPECT_STREQ(out, L"1.1.000");
}

TEST_F(TimeText, ClockSplitting) {
  ZQSMPTEVAL v{};
  ZqNanoTimeToHMSF(37230500000, &v, 1000.0);
  EXPECT_EQ(v.hours * 10000 + v.minutes * 100 + v.seconds, 10203u);
  EXPECT_EQ(v.frames, 50u);
  ZqNanoTimeToHMSF(-10000000, &v, 25.0);  // a second before midnight
  EXPECT_EQ(v.hours * 10000 + v.minutes * 100 + v.seconds, 235959u);
  EXPECT_EQ(v.frames, 0u);
  ZqNanoTimeToHMSF(19900000, &v, 25.0);  // 1.99 s: 24.75 frames round to the next second
  EXPECT_EQ(v.seconds, 2u);
  EXPECT_EQ(v.frames, 0u);
  v = ZQSMPTEVAL{ZQSMPTE_TYPE_25, 0, 0, 0, 0, 0};
  ZqNanoTimeToHMSF(19900000, &v, 1000.0);  // a time-code type ignores the rate: frame 49
  EXPECT_EQ(v.seconds, 1u);
  EXPECT_EQ(v.frames, 24u);
  EXPECT_EQ(ZqHMSFToNanoTime(&v, 1000.0), 19600000);
  v = ZQSMPTEVAL{0, 1, 2, 3, 15, 0};
  EXPECT_EQ(ZqHMSFToNanoTime(&v, 30.0), 37235000000);
  v.hours = 0xFFFFFFFF;
  EXPECT_EQ(ZqHMSFToNanoTime(&v, 30.0), LLONG_MIN);  // beyond nano time
  EXPECT_EQ(ZqHMSFToNanoTime(nullptr, 30.0), 0);
  ZqNanoTimeToHMSF(5, nullptr, 30.0);
}

TEST_F(TimeText, FineResolutionsKeepTheirTicks) {
  // 12/8 at 1920 ticks per quarter: a measure holds 23,040 ticks; every tick
  // start shows as that tick.
  ZQPOSFMT f = Format(13, 0, 0, 100.0, 0, 8, 12, 1920);
  for (LONGLONG tick = 0; tick < 23040 * 3; tick += 7) {
    const LONGLONG nanos = tick * 3125;  // a tick is 6e8 / 100 / 1920 units
    LONGLONG m, b, t;
    ZqNanoTimeToMeasures(nanos, &f, &m, &b, &t);
    ASSERT_EQ((m * 12 + b) * 1920 + t, tick) << nanos;
  }
}

// The display's fast paths against the general ones they stand in for,
// over random times from around whole seconds to the whole 64-bit range,
// kind by kind: the table's field writer against the printer given the
// same format (also in a locale with groups of one, two and four digits
// and a long separator), and the 32-bit arithmetic of each kind against
// the 64-bit arithmetic it replaces.
TEST_F(TimeText, FastPathsAgreeWithTheGeneralOnes) {
  namespace smpte = zq::text::smpte;
  enum Arithmetic { kFieldsOnly, kSeconds, kTimeCode, kTruncation };
  const Arithmetic kinds[19] = {kTruncation, kSeconds,  kFieldsOnly, kSeconds,   kFieldsOnly, kTruncation, kTimeCode,
                                kTimeCode,   kTimeCode, kTimeCode,   kTimeCode,  kFieldsOnly, kFieldsOnly, kTruncation,
                                kTruncation, kTruncation, kTruncation, kSeconds, kTimeCode};
  std::mt19937_64 rng(36);
  auto randomTime = [&]() -> LONGLONG {
    switch (rng() % 4) {
      case 0:  // next to whole seconds, where the double's quotient of the seconds may be one off
        return static_cast<LONGLONG>(rng() % (1ull << (rng() % 32))) * 10000000 + static_cast<LONGLONG>(rng() % 5) - 2;
      case 1: return static_cast<LONGLONG>(rng() % (1ull << 56)) - (1ll << 40);  // the 2^31-second limit is 2^54.3
      case 2: return static_cast<LONGLONG>(rng());
      default: return static_cast<LONGLONG>(rng() % 1000000000000ll);
    }
  };
  std::vector<Locale> locales = Locales();
  for (DWORD grouping : {1u, 2u, 4u}) {
    ZQINTERNATIONALS r = texttest::German();
    SetText(r.thousandSep, &r.thousandSepLength, L"'\u00a0'");
    r.grouping = grouping;
    locales.push_back({"odd groups", r});
  }
  for (const Locale& locale : locales) {
    zq::text::SetInternationals(locale.record);
    for (ZQPOSFMT f : AwkwardFormats()) {
      for (DWORD kind = 0; kind < 19; ++kind) {
        f.kind = kind;
        int wrong = 0;
        auto agree = [&](bool same, const std::string& what) {
          if (same) return;
          ++wrong;
          ADD_FAILURE() << locale.name << " kind " << kind << ": " << what;
        };
        for (int i = 0; i < 300 && wrong < 3; ++i) {
          const LONGLONG t = randomTime();
          const std::string at = " at " + std::to_string(t);
          for (DWORD flags : {0u, 1u, 2u}) {
            WCHAR fast[ZQPOS_TEXT_CAPACITY], general[ZQPOS_FORMAT_CAPACITY];
            const int n = ZqNanoTimeToTextEx(fast, &f, t, flags);
            const WCHAR* format = zq::text::timetext::FormatOf(kind, flags & ZQPOS_SHORT);
            // Text too long for the buffer is cut: groups of one digit with
            // the long separator make some.
            const int whole = ZqNanoTimeToTextFormat(general, &f, t, format, flags);
            general[whole < ZQPOS_TEXT_CAPACITY ? whole : ZQPOS_TEXT_CAPACITY - 1] = 0;
            agree(std::wstring(fast) == general && n == lstrlenW(general),
                  "flags " + std::to_string(flags) + at + ": \"" + std::string(fast, fast + n) + "\" against \"" +
                      std::string(general, general + lstrlenW(general)) + "\"");
          }
          switch (kinds[kind]) {
            case kSeconds: {
              DWORD seconds = 0, units = 0;
              const bool fits = t >= 0 && t / 10000000 < 0x80000000ll;
              const bool split = smpte::SplitSeconds(t, seconds, units);
              agree(split == fits && (!fits || (seconds == static_cast<DWORD>(smpte::FloorDiv(t, 10000000)) &&
                                                units == static_cast<DWORD>(smpte::FloorMod(t, 10000000)))),
                    "seconds" + at);
              break;
            }
            case kTimeCode: {
              ZQSMPTEVAL fast{}, general{};
              fast.type = general.type = zq::text::timetext::SmpteTypeOf(kind);
              smpte::FromNanos(t, fast);
              const double frames = smpte::RateOf(fast.type).real * static_cast<double>(t) * 1e-7 + 0.000005;
              smpte::FromFrameCount(general, static_cast<LONGLONG>(std::floor(frames)));
              agree(fast.hours == general.hours && fast.minutes == general.minutes &&
                        fast.seconds == general.seconds && fast.frames == general.frames,
                    "label" + at);
              break;
            }
            case kTruncation: {
              // The kind's value in its units, around the 32-bit limits too.
              const double x = static_cast<double>(t) * std::ldexp(1.0, -static_cast<int>(rng() % 40)) * 1e-7;
              LONG whole = 0;
              const bool fits = std::fabs(x) < 2147483648.0;
              const bool truncated = smpte::TruncToLong(x, whole);
              agree(truncated == fits && (!fits || whole == static_cast<LONGLONG>(std::trunc(x))),
                    "truncation of " + std::to_string(x));
              break;
            }
            case kFieldsOnly:
              break;
          }
        }
      }
    }
  }
  // The edges of the one-conversion range.
  LONG whole = 7;
  EXPECT_FALSE(smpte::TruncToLong(std::nan(""), whole));
  EXPECT_FALSE(smpte::TruncToLong(2147483648.0, whole));
  EXPECT_FALSE(smpte::TruncToLong(-2147483648.0, whole));
  EXPECT_EQ(whole, 7);
  EXPECT_TRUE(smpte::TruncToLong(2147483647.9, whole));
  EXPECT_EQ(whole, 2147483647);
  EXPECT_TRUE(smpte::TruncToLong(-2147483647.9, whole));
  EXPECT_EQ(whole, -2147483647);
}

TEST_F(TimeText, MeasuresAndTicks) {
  ZQPOSFMT f = Format(0, 0, 0, 120, 0, 4, 4, 960);
  struct Case {
    LONGLONG ticks;
    DWORD counting;
    BOOL brief;
    LONG divisor;
    const WCHAR* text;
  } cases[] = {
      {0, 1, FALSE, 1, L"1.1.000"},     {0, 0, FALSE, 1, L"0.0.000"},   {3840 + 960 + 5, 1, FALSE, 1, L"2.2.005"},
      {3840 + 960 + 5, 1, TRUE, 1, L"2.2"}, {-1, 0, FALSE, 1, L"-1.3.959"}, {-1, 1, FALSE, 1, L"-1.4.959"},
      {3840 * 12, 1, FALSE, 1, L"13.1.000"}, {959, 0, FALSE, 10, L"0.0.095"}, {-3840, 1, FALSE, 1, L"-1.1.000"},
  };
  WCHAR out[ZQPOS_TEXT_CAPACITY];
  for (const Case& c : cases) {
    EXPECT_EQ(ZqTicksToText(out, &f, c.ticks, c.counting, c.brief, c.divisor), static_cast<int>(wcslen(c.text)));
    EXPECT_STREQ(out, c.text) << c.ticks;
  }
  // 6/8: a beat is an eighth (480 ticks) in the text.
  ZQPOSFMT six = Format(0, 0, 0, 120, 0, 8, 6, 960);
  ZqMeasuresAndTicksToText(out, &six, 1, 1000, 0, FALSE, 1);
  EXPECT_STREQ(out, L"1.2.040");
  ZqMeasuresAndTicksToText(out, &six, 1, -1, 0, FALSE, 1);  // a negative remainder counts back
  EXPECT_STREQ(out, L"1.5.479");

  // Every tick count reads back, in both counting modes, with the locale's
  // separators.
  for (const Locale& locale : Locales()) {
    zq::text::SetInternationals(locale.record);
    for (DWORD counting : {0u, 1u}) {
      for (LONGLONG ticks = -20000; ticks <= 20000; ticks += 37) {
        ZqTicksToText(out, &f, ticks, counting, FALSE, 1);
        ASSERT_EQ(ZqTextToTicks(out, &f, counting, 1), ticks) << locale.name << " " << std::wstring(out).size();
      }
    }
  }
  zq::text::SetInternationals(texttest::English());
  LONGLONG m = 0, b = 0, t = 0;
  EXPECT_EQ(ZqTextToMeasuresBeatsTicks(L" -2.3.4", &f, 1, 10, &m, &b, &t), (-2 * 4 + 2) * 960 + 40);
  EXPECT_EQ(m, -2);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(t, 4);
  EXPECT_EQ(ZqTextToTicks(L"5", &f, 0, 1), 5 * 4 * 960);  // fields from the left: a measure
  EXPECT_EQ(ZqTextToTicks(L"5:", &f, 0, 1), 5 * 4 * 960);
  EXPECT_EQ(ZqTextToTicks(L"99999999999999999999999.1.1", &f, 0, 1), LLONG_MAX);
}

}  // namespace
