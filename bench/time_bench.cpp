// Time code and position text against naive references written here: the
// drop-frame label found by fixed-point iteration, clock text built with
// swprintf from integer arithmetic, and clock text read back with swscanf.
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

void ClockText() {
  const int n = 300000;
  ZQPOSFMT f{};
  f.kind = ZQPOS_HMS_MILLIS;
  WCHAR out[ZQPOS_TEXT_CAPACITY];
  double ours = bench::Time([] {}, [&] {
    for (int i = 0; i < n; ++i) g_sink = ZqNanoTimeToText(out, &f, static_cast<LONGLONG>(i) * 2876543, FALSE);
  });
  double baseline = bench::Time([] {}, [&] {
    for (int i = 0; i < n; ++i) {
      const LONGLONG ms = (static_cast<LONGLONG>(i) * 2876543 + 5000) / 10000;
      const LONGLONG s = ms / 1000;
      g_sink = swprintf(out, ZQPOS_TEXT_CAPACITY, L"%02u:%02u:%02u.%03u", static_cast<unsigned>(s / 3600 % 24),
                        static_cast<unsigned>(s / 60 % 60), static_cast<unsigned>(s % 60),
                        static_cast<unsigned>(ms % 1000));
    }
  });
  bench::Report("ZqNanoTimeToText h:m:s.ms x" + std::to_string(n), ours, baseline, "swprintf");
}

void MusicText() {
  const int n = 300000;
  ZQPOSFMT f{};
  f.kind = ZQPOS_MBT;
  f.tempo = 97.3;
  f.beatUnit = 4;
  f.beatsPerMeasure = 7;
  f.ticksPerQuarter = 960;
  WCHAR out[ZQPOS_TEXT_CAPACITY];
  double ours = bench::Time([] {}, [&] {
    for (int i = 0; i < n; ++i) g_sink = ZqNanoTimeToText(out, &f, static_cast<LONGLONG>(i) * 2876543, FALSE);
  });
  double baseline = bench::Time([] {}, [&] {
    for (int i = 0; i < n; ++i) {
      const double m = static_cast<double>(i) * 2876543 * 97.3 / 7 / 6e8 + 0.00005;
      const double beats = (m - std::trunc(m)) * 7;
      g_sink = swprintf(out, ZQPOS_TEXT_CAPACITY, L"%u.%u.%03u", static_cast<unsigned>(m) + 1,
                        static_cast<unsigned>(beats) + 1, static_cast<unsigned>((beats - std::trunc(beats)) * 960));
    }
  });
  bench::Report("ZqNanoTimeToText measures.beats.ticks x" + std::to_string(n), ours, baseline, "swprintf");
}

void SmpteText() {
  const int n = 300000;
  ZQPOSFMT f{};
  f.kind = ZQPOS_SMPTE_2997DROP;
  WCHAR out[ZQPOS_TEXT_CAPACITY];
  ZQSMPTEVAL v{};
  double ours = bench::Time([] {}, [&] {
    for (int i = 0; i < n; ++i) g_sink = ZqNanoTimeToText(out, &f, static_cast<LONGLONG>(i) * 2876543, FALSE);
  });
  double baseline = bench::Time([] {}, [&] {
    for (int i = 0; i < n; ++i) {
      const double frames = std::floor(30000.0 / 1001.0 * (static_cast<double>(i) * 2876543) * 1e-7 + 0.000005);
      NaiveDropLabel(static_cast<DWORD>(static_cast<LONGLONG>(frames) % kDropDay), v);
      g_sink = swprintf(out, ZQPOS_TEXT_CAPACITY, L"%02u:%02u:%02u;%02u", v.hours, v.minutes, v.seconds, v.frames);
    }
  });
  bench::Report("ZqNanoTimeToText SMPTE drop x" + std::to_string(n), ours, baseline, "fixed-point + swprintf");
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
BENCHMARK_ENTRY("time text clock", ClockText);
BENCHMARK_ENTRY("time text music", MusicText);
BENCHMARK_ENTRY("time text SMPTE", SmpteText);
BENCHMARK_ENTRY("time text parse clock", ClockParse);
