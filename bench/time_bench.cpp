// Time code and position text against naive references written here: the
// drop-frame label found by fixed-point iteration, clock text built with
// swprintf from integer arithmetic, and clock text read back with swscanf.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench.h"
#include "zq/smpte.h"
#include "zq/timetext.h"

namespace {

constexpr DWORD kDropDay = 2589408;
volatile DWORD g_sink;

// Drop-frame label of a frame count: add back the dropped labels until the
// count of labels dropped before the nominal position stops changing.
void NaiveDropLabel(DWORD count, ZQSMPTEVAL& v) {
  DWORD nominal = count % kDropDay, added = 0;
  for (;;) {
    const DWORD inTen = nominal % 18000, minute = inTen / 1800;
    const DWORD dropped = 108 * (nominal / 108000) + 18 * (nominal % 108000 / 18000) + (minute ? 2 * minute : 0);
    if (dropped == added) break;
    nominal += dropped - added;
    added = dropped;
  }
  v.hours = nominal / 108000;
  v.minutes = nominal % 108000 / 1800;
  v.seconds = nominal % 1800 / 30;
  v.frames = nominal % 30;
}

void FrameCountToLabel() {
  const int n = 2000000;
  ZQSMPTEVAL v{};
  v.type = ZQSMPTE_TYPE_2997_DROP;
  double ours = bench::Time([] {}, [&] {
    for (int i = 0; i < n; ++i) {
      ZQSMPTE_FrameCountToSMPTE(&v, static_cast<DWORD>(i) * 7u);
      g_sink = v.frames;
    }
  });
  double baseline = bench::Time([] {}, [&] {
    for (int i = 0; i < n; ++i) {
      NaiveDropLabel(static_cast<DWORD>(i) * 7u, v);
      g_sink = v.frames;
    }
  });
  bench::Report("ZQSMPTE_FrameCountToSMPTE 29.97 drop x" + std::to_string(n), ours, baseline, "fixed-point iteration");
}

void NanoToLabel() {
  const int n = 2000000;
  ZQSMPTEVAL v{};
  v.type = ZQSMPTE_TYPE_2997_DROP;
  double ours = bench::Time([] {}, [&] {
    for (int i = 0; i < n; ++i) {
      ZQSMPTE_NanoToSMPTE(static_cast<LONGLONG>(i) * 4321987, &v);
      g_sink = v.frames;
    }
  });
  double baseline = bench::Time([] {}, [&] {
    for (int i = 0; i < n; ++i) {
      const double frames = std::floor(30000.0 / 1001.0 * (static_cast<double>(i) * 4321987) * 1e-7 + 0.000005);
      NaiveDropLabel(static_cast<DWORD>(static_cast<LONGLONG>(frames) % kDropDay), v);
      g_sink = v.frames;
    }
  });
  bench::Report("ZQSMPTE_NanoToSMPTE 29.97 drop x" + std::to_string(n), ours, baseline, "floor + fixed-point");
}

// Every display kind: our text against swprintf of the same fields from
// plain arithmetic, and against std::to_chars of those fields as the floor.
struct KindFields {
  int count;
  unsigned long long v[4];
  double real;  // for the kinds that show a decimal number
};

KindFields FieldsOf(DWORD kind, LONGLONG nanos) {
  const LONGLONG s = nanos / 10000000;
  const double seconds = nanos * 1e-7;
  switch (kind) {
    case ZQPOS_SECONDS: return {0, {}, seconds};
    case ZQPOS_FRAMES: return {0, {}, seconds * 29.97};
    case ZQPOS_BEATS: return {0, {}, seconds * 97.3 / 60};
    case ZQPOS_SAMPLES: return {1, {static_cast<unsigned long long>(seconds * 44100)}, 0};
    case ZQPOS_NANOS: return {1, {static_cast<unsigned long long>(nanos)}, 0};
    case ZQPOS_MICROSECONDS: return {1, {static_cast<unsigned long long>(nanos / 10)}, 0};
    case ZQPOS_FEET_FRAMES_35:
    case ZQPOS_FEET_FRAMES_16: {
      const unsigned long long frames = static_cast<unsigned long long>(seconds * 29.97);
      const unsigned perFoot = kind == ZQPOS_FEET_FRAMES_35 ? 40 : 16;
      return {2, {frames / perFoot, frames % perFoot}, 0};
    }
    case ZQPOS_MBT:
    case ZQPOS_MBT_ZERO: {
      const double m = seconds * 97.3 / 60 / 7 + 0.00005;
      const double beats = (m - std::trunc(m)) * 7;
      return {3, {static_cast<unsigned>(m) + 1, static_cast<unsigned>(beats) + 1,
                  static_cast<unsigned>((beats - std::trunc(beats)) * 960)}, 0};
    }
    default: {
      const double rate = kind == ZQPOS_HMS_MILLIS ? 1000 : kind == ZQPOS_CD ? 75 : 30;
      return {4, {static_cast<unsigned>(s / 3600 % 24), static_cast<unsigned>(s / 60 % 60),
                  static_cast<unsigned>(s % 60), static_cast<unsigned>((seconds - s) * rate)}, 0};
    }
  }
}

int CrtText(wchar_t* out, const KindFields& k) {
  switch (k.count) {
    case 0: return swprintf(out, ZQPOS_TEXT_CAPACITY, L"%.3f", k.real);
    case 1: return swprintf(out, ZQPOS_TEXT_CAPACITY, L"%I64u", k.v[0]);
    case 2: return swprintf(out, ZQPOS_TEXT_CAPACITY, L"%I64u+%I64u", k.v[0], k.v[1]);
    case 3: return swprintf(out, ZQPOS_TEXT_CAPACITY, L"%u.%u.%03u", static_cast<unsigned>(k.v[0]),
                            static_cast<unsigned>(k.v[1]), static_cast<unsigned>(k.v[2]));
    default: return swprintf(out, ZQPOS_TEXT_CAPACITY, L"%02u:%02u:%02u:%02u", static_cast<unsigned>(k.v[0]),
                             static_cast<unsigned>(k.v[1]), static_cast<unsigned>(k.v[2]),
                             static_cast<unsigned>(k.v[3]));
  }
}

int FloorText(wchar_t* out, const KindFields& k) {
  char text[64];
  char* p = text;
  if (k.count == 0) {
    p = std::to_chars(p, text + 64, k.real, std::chars_format::fixed, 3).ptr;
  } else {
    for (int i = 0; i < k.count; ++i) {
      if (i) *p++ = ':';
      if (k.count == 4 && k.v[i] < 10) *p++ = '0';
      p = std::to_chars(p, text + 64, k.v[i]).ptr;
    }
  }
  int n = 0;
  for (const char* q = text; q < p; ++q) out[n++] = static_cast<wchar_t>(*q);
  out[n] = 0;
  return n;
}

void EveryKind() {
  const int n = 100000;
  static const char* const kNames[] = {"samples", "h:m:s.ms", "seconds", "h:m:s.frames", "frames",
                                       "measures.beats.ticks", "SMPTE 29.97", "SMPTE 30", "SMPTE 29.97 drop",
                                       "SMPTE 25", "SMPTE 24", "raw units", "microseconds", "measures from 0",
                                       "beats", "feet+frames 35mm", "feet+frames 16mm", "CD time", "SMPTE 23.976"};
  for (DWORD kind = 0; kind < 19; ++kind) {
    ZQPOSFMT f{};
    f.kind = kind;
    f.sampleRate = 44100;
    f.frameRate = 29.97;
    f.tempo = 97.3;
    f.beatUnit = 4;
    f.beatsPerMeasure = 7;
    f.ticksPerQuarter = 960;
    WCHAR out[ZQPOS_TEXT_CAPACITY];
    // Both sides in alternating rounds: a busy moment of the machine meets
    // neither side alone.
    const bench::Pair crt = bench::TimePair(
        [&] {
          for (int i = 0; i < n; ++i) g_sink = ZqNanoTimeToText(out, &f, static_cast<LONGLONG>(i) * 2876543, FALSE);
        },
        [&] {
          for (int i = 0; i < n; ++i) g_sink = CrtText(out, FieldsOf(kind, static_cast<LONGLONG>(i) * 2876543));
        });
    double floor = bench::Time([] {}, [&] {
      for (int i = 0; i < n; ++i) g_sink = FloorText(out, FieldsOf(kind, static_cast<LONGLONG>(i) * 2876543));
    });
    bench::Report(std::string("ZqNanoTimeToText ") + kNames[kind] + " x" + std::to_string(n), crt.ours, crt.theirs,
                  "arithmetic + swprintf");
    bench::Report("  the same", crt.ours, floor, "arithmetic + to_chars floor");
  }
}

void ClockParse() {
  const int n = 300000;
  ZQPOSFMT f{};
  f.kind = ZQPOS_HMS_MILLIS;
  std::vector<std::wstring> texts;
  WCHAR out[ZQPOS_TEXT_CAPACITY];
  for (int i = 0; i < 1000; ++i) {
    ZqNanoTimeToText(out, &f, static_cast<LONGLONG>(i) * 287654321, FALSE);
    texts.push_back(out);
  }
  double ours = bench::Time([] {}, [&] {
    for (int i = 0; i < n; ++i)
      g_sink = static_cast<DWORD>(ZqTextToNanoTimeToken(texts[i % 1000].c_str(), &f, FALSE, nullptr));
  });
  double baseline = bench::Time([] {}, [&] {
    for (int i = 0; i < n; ++i) {
      unsigned h = 0, m = 0, s = 0, ms = 0;
      swscanf(texts[i % 1000].c_str(), L"%u:%u:%u.%u", &h, &m, &s, &ms);
      g_sink = static_cast<DWORD>((((h * 60ll + m) * 60 + s) * 1000 + ms) * 10000);
    }
  });
  bench::Report("ZqTextToNanoTimeToken h:m:s.ms x" + std::to_string(n), ours, baseline, "swscanf");
}

}  // namespace

BENCHMARK_ENTRY("time code from frame counts", FrameCountToLabel);
BENCHMARK_ENTRY("time code from nano time", NanoToLabel);
BENCHMARK_ENTRY("time text every kind", EveryKind);
BENCHMARK_ENTRY("time text parse clock", ClockParse);
