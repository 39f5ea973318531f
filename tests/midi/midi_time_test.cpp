// The time column: measures and beats and clock time from the host's
// conversion, every other display kind through the library's time text.
#include <gtest/gtest.h>

#include <string>

#include "hostkit.h"
#include "midi/midi_time.h"
#include "zq/timetext.h"

namespace {

using quillet::midi::EventTimeText;

// A host whose conversions are given by the test.
class FixedConvert final : public IQuilletTimeConvert {
 public:
  LONG mbt[4] = {};
  LONG clock[4] = {};
  LONG timing[4] = {480, 500000, 4, 4};
  HRESULT result = S_OK;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE Convert(DWORD kind, LONGLONG, LONG out[4]) override {
    const LONG* from = kind == QTIME_MBT ? mbt : kind == QTIME_CLOCK ? clock : timing;
    for (int i = 0; i < 4; ++i) out[i] = from[i];
    return result;
  }
};

std::wstring TimeText(IQuilletTimeConvert* host, LONGLONG time, DWORD kind, bool shortForm, HRESULT* hr = nullptr) {
  WCHAR text[128];
  wmemset(text, L'#', 128);
  HRESULT result = EventTimeText(host, time, kind, shortForm, text, 128);
  if (hr) *hr = result;
  return text;
}

class MidiTime : public ::testing::Test {
 protected:
  void SetUp() override {
    host = hostkit::Host::Create();
    host->SetTiming(480, 500000, 4, 4);  // 120 beats per minute
  }
  void TearDown() override { host->Release(); }
  hostkit::Host* host = nullptr;
};

TEST_F(MidiTime, MeasuresAndBeatsComeFromTheHost) {
  const struct {
    LONGLONG time;
    DWORD kind;
    bool shortForm;
    const wchar_t* text;
  } cases[] = {
      {0, ZQPOS_MBT, false, L"1.1.000"},
      {0, ZQPOS_MBT, true, L"1.1"},
      {480 * 4 + 480 + 5, ZQPOS_MBT, false, L"2.2.005"},
      {480 * 4 + 480 + 5, ZQPOS_MBT_ZERO, false, L"2.2.005"},  // the host decides the counting
      {480 * 4 * 99 + 480 * 3 + 479, ZQPOS_MBT, false, L"100.4.479"},
      {480 * 4 * 99 + 480 * 3 + 479, ZQPOS_MBT, true, L"100.4"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.time);
    HRESULT hr = E_FAIL;
    EXPECT_EQ(TimeText(host, c.time, c.kind, c.shortForm, &hr), c.text);
    EXPECT_EQ(hr, S_OK);
  }
}

// Beats shorter than a tick: one tick per quarter, eighth-note beats.
TEST_F(MidiTime, BeatsShorterThanATick) {
  host->SetTiming(1, 500000, 4, 8);
  HRESULT hr = E_FAIL;
  EXPECT_EQ(TimeText(host, 8, ZQPOS_MBT, false, &hr), L"5.1.000");  // 16 eighths: four whole measures
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(TimeText(host, 9, ZQPOS_MBT, true, &hr), L"5.3");
  EXPECT_EQ(hr, S_OK);
}

TEST(MidiTimeCounting, ZeroBasedHostsLowerNonZeroMeasuresAndBeats) {
  FixedConvert host;
  const struct {
    LONG measure, beat, tick, zeroBased;
    const wchar_t* full;
    const wchar_t* shortText;
  } cases[] = {
      {3, 2, 7, 0, L"3.2.007", L"3.2"},
      {3, 2, 7, 1, L"2.1.007", L"2.1"},
      {0, 0, 12, 1, L"0.0.012", L"0.0"},
      {0, 5, 0, 1, L"0.4.000", L"0.4"},
  };
  for (const auto& c : cases) {
    host.mbt[0] = c.measure, host.mbt[1] = c.beat, host.mbt[2] = c.tick, host.mbt[3] = c.zeroBased;
    EXPECT_EQ(TimeText(&host, 0, ZQPOS_MBT, false), c.full);
    EXPECT_EQ(TimeText(&host, 0, ZQPOS_MBT, true), c.shortText);
  }
}

TEST_F(MidiTime, ClockTimeComesFromTheHost) {
  // 480 ticks are half a second at 120 beats per minute.
  EXPECT_EQ(TimeText(host, 0, ZQPOS_HMS_MILLIS, false), L"00:00:00.00");
  EXPECT_EQ(TimeText(host, 480 * 2 * 60, ZQPOS_HMS_MILLIS, false), L"00:01:00.00");
  EXPECT_EQ(TimeText(host, 480 * 2 * 3600 + 48, ZQPOS_HMS_MILLIS, false), L"01:00:00.05");
}

TEST_F(MidiTime, OtherKindsAreTheNanoTimeAtThirtyFrames) {
  // One hour, one second and 15 frames at 30 frames per second: 2 x 3601.5 beats.
  const LONGLONG time = 480LL * 2 * 3601 + 480;
  const struct {
    DWORD kind;
    bool shortForm;
    const wchar_t* text;
  } cases[] = {
      {ZQPOS_SMPTE_30, false, L"01:00:01:15"},
      {ZQPOS_HMS_FRAMES, false, L"01:00:01.15"},
      {ZQPOS_HMS_FRAMES, true, L"01:00:01"},
      {ZQPOS_SECONDS, false, L"3,601.500"},
      {ZQPOS_FRAMES, true, L"108,045"},
      {ZQPOS_NANOS, false, L"36,015,000,000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    HRESULT hr = E_FAIL;
    EXPECT_EQ(TimeText(host, time, c.kind, c.shortForm, &hr), c.text);
    EXPECT_EQ(hr, S_OK);
  }
}

TEST(MidiTimeFailures, HostFailuresAndBadTimingGiveNoText) {
  FixedConvert host;
  host.result = E_FAIL;
  HRESULT hr = S_OK;
  EXPECT_EQ(TimeText(&host, 0, ZQPOS_MBT, false, &hr), L"");
  EXPECT_EQ(hr, E_FAIL);
  EXPECT_EQ(TimeText(&host, 0, ZQPOS_HMS_MILLIS, false, &hr), L"");
  EXPECT_EQ(hr, E_FAIL);
  EXPECT_EQ(TimeText(&host, 0, ZQPOS_SMPTE_25, false, &hr), L"");
  EXPECT_EQ(hr, E_FAIL);
  host.result = S_OK;
  for (LONG ticks : {0, -1}) {
    host.timing[0] = ticks;
    EXPECT_EQ(TimeText(&host, 100, ZQPOS_SECONDS, false, &hr), L"");
    EXPECT_EQ(hr, E_UNEXPECTED);
  }
  host.timing[0] = 480;
  host.timing[1] = 0;  // no tempo
  EXPECT_EQ(TimeText(&host, 100, ZQPOS_SECONDS, false, &hr), L"");
  EXPECT_EQ(hr, E_UNEXPECTED);
  // Times far beyond the range of nano time saturate instead of overflowing.
  host.timing[1] = 16777215;
  host.timing[0] = 1;
  EXPECT_EQ(TimeText(&host, LLONG_MAX, ZQPOS_NANOS, false, &hr), L"9,223,372,036,854,775,807");
  EXPECT_EQ(hr, S_OK);

  WCHAR text[8];
  EXPECT_EQ(EventTimeText(nullptr, 0, ZQPOS_MBT, false, text, 8), E_POINTER);
  EXPECT_STREQ(text, L"");
  EXPECT_EQ(EventTimeText(&host, 0, ZQPOS_MBT, false, nullptr, 8), E_POINTER);
}

}  // namespace
