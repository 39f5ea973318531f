// Time code through the module's exports: every frame of the day at every
// rate against labels counted here frame by frame, arithmetic, steps, nano
// time and typed time code.
#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>
#include <vector>

#include "zq/smpte.h"

namespace {

struct Label {
  unsigned h, m, s, f;
  bool operator==(const Label& o) const { return h == o.h && m == o.m && s == o.s && f == o.f; }
};

std::string Show(const Label& l) {
  char text[32];
  wsprintfA(text, "%02u:%02u:%02u:%02u", l.h, l.m, l.s, l.f);
  return text;
}

Label Of(const ZQSMPTEVAL& v) { return {v.hours, v.minutes, v.seconds, v.frames}; }

ZQSMPTEVAL Value(DWORD type, Label l) {
  ZQSMPTEVAL v{};
  v.type = type;
  v.hours = l.h;
  v.minutes = l.m;
  v.seconds = l.s;
  v.frames = l.f;
  return v;
}

struct RateCase {
  DWORD type;
  unsigned labels;       // labels per second
  bool drop;
  LONGLONG numerator;    // real rate = numerator / denominator frames per second
  LONGLONG denominator;
};

const RateCase kRates[] = {
    {ZQSMPTE_TYPE_30, 30, false, 30, 1},       {ZQSMPTE_TYPE_2997_DROP, 30, true, 30000, 1001},
    {ZQSMPTE_TYPE_25, 25, false, 25, 1},       {ZQSMPTE_TYPE_24, 24, false, 24, 1},
    {ZQSMPTE_TYPE_2997, 30, false, 30000, 1001}, {ZQSMPTE_TYPE_23976, 24, false, 24000, 1001},
};

bool Dropped(const Label& l) { return l.f < 2 && l.s == 0 && l.m % 10 != 0; }

// The next label as a clock reads it: frames, then seconds, minutes and hours
// roll over; at 29.97 drop-frame the first two labels of a minute whose
// number is not a multiple of ten do not exist.
Label Next(Label l, const RateCase& r) {
  if (++l.f == r.labels) {
    l.f = 0;
    if (++l.s == 60) {
      l.s = 0;
      if (++l.m == 60) {
        l.m = 0;
        if (++l.h == 24) l.h = 0;
      }
    }
  }
  while (r.drop && Dropped(l)) ++l.f;
  return l;
}

// Every label of a day in order, counted from 00:00:00:00 until the clock
// comes round to it again.
std::vector<Label> Day(const RateCase& r) {
  std::vector<Label> day;
  Label l{0, 0, 0, 0};
  do {
    day.push_back(l);
    l = Next(l, r);
  } while (!(l == Label{0, 0, 0, 0}));
  return day;
}

// The first 100-ns unit at or after the start of frame k.
LONGLONG FrameStart(LONGLONG k, const RateCase& r) {
  const LONGLONG scaled = k * r.denominator * 10000000;
  return (scaled + r.numerator - 1) / r.numerator;
}

class EveryRate : public ::testing::TestWithParam<RateCase> {};

TEST_P(EveryRate, EveryFrameOfTheDayConvertsBothWaysAndStepsToItsNeighbours) {
  const RateCase r = GetParam();
  const std::vector<Label> day = Day(r);
  const unsigned long expectedDay = r.drop ? 24ul * 60 * 1800 - (24ul * 60 - 24 * 6) * 2 : 24ul * 3600 * r.labels;
  ASSERT_EQ(day.size(), expectedDay);

  int wrong = 0;
  for (size_t count = 0; count < day.size() && wrong < 10; ++count) {
    const Label& l = day[count];
    ZQSMPTEVAL v{};
    v.type = r.type;
    ZQSMPTE_FrameCountToSMPTE(&v, static_cast<DWORD>(count));
    if (!(Of(v) == l)) ++wrong, ADD_FAILURE() << count << ": " << Show(Of(v)) << " instead of " << Show(l);
    if (r.drop && Dropped(Of(v))) ++wrong, ADD_FAILURE() << count << " gave the dropped label " << Show(Of(v));
    ZQSMPTEVAL typed = Value(r.type, l);
    if (ZQSMPTE_SMPTEToFrameCount(&typed) != count) ++wrong, ADD_FAILURE() << Show(l) << " does not count " << count;

    ZQSMPTEVAL step = Value(r.type, l);
    ZQSMPTE_IncrementByFrame(&step, 12345);
    const Label& next = day[(count + 1) % day.size()];
    if (!(Of(step) == next)) ++wrong, ADD_FAILURE() << Show(l) << " + 1 frame = " << Show(Of(step));
    ZQSMPTE_DeccrementByFrame(&step, 0);
    if (!(Of(step) == l)) ++wrong, ADD_FAILURE() << Show(next) << " - 1 frame = " << Show(Of(step));
  }
  EXPECT_EQ(wrong, 0);

  // Counts past the day wrap into it.
  for (DWORD extra : {0u, 1u, 5u, 1799u, 1800u, 17982u}) {
    ZQSMPTEVAL v{};
    v.type = r.type;
    ZQSMPTE_FrameCountToSMPTE(&v, static_cast<DWORD>(day.size()) + extra);
    EXPECT_EQ(Of(v), day[extra]) << "day + " << extra;
  }
  ZQSMPTEVAL last{};
  last.type = r.type;
  ZQSMPTE_FrameCountToSMPTE(&last, 0xFFFFFFFFu);
  EXPECT_EQ(Of(last), day[0xFFFFFFFFull % day.size()]);
}

TEST_P(EveryRate, NanoTimeFindsTheFrameThatHoldsIt) {
  const RateCase r = GetParam();
  const std::vector<Label> day = Day(r);
  int wrong = 0;
  for (size_t k = 0; k < day.size() && wrong < 10; k += 97) {
    ZQSMPTEVAL v = Value(r.type, day[k]);
    const LONGLONG start = FrameStart(static_cast<LONGLONG>(k), r);
    if (ZQSMPTE_SMPTEToNanos(&v) != start) ++wrong, ADD_FAILURE() << Show(day[k]) << " starts at " << start;
    ZQSMPTEVAL back{};
    back.type = r.type;
    ZQSMPTE_NanoToSMPTE(start, &back);
    if (!(Of(back) == day[k])) ++wrong, ADD_FAILURE() << start << " gave " << Show(Of(back));
    // Well inside the frame before (more than the few units of bias).
    if (k > 0) {
      ZQSMPTE_NanoToSMPTE(start - 10, &back);
      if (!(Of(back) == day[k - 1])) ++wrong, ADD_FAILURE() << start - 10 << " gave " << Show(Of(back));
    }
  }
  EXPECT_EQ(wrong, 0);

  // Before zero and after a day the label wraps into the day.
  ZQSMPTEVAL v{};
  v.type = r.type;
  ZQSMPTE_NanoToSMPTE(-FrameStart(1, r) + 1, &v);
  EXPECT_EQ(Of(v), day.back());
  const LONGLONG tenDays = 10 * static_cast<LONGLONG>(day.size());
  ZQSMPTE_NanoToSMPTE(FrameStart(tenDays + 7, r), &v);
  EXPECT_EQ(Of(v), day[7]);
  ZQSMPTE_NanoToSMPTE(LLONG_MIN, &v);  // any label, but a valid one
  EXPECT_LT(v.hours, 24u);
  EXPECT_LT(v.frames, r.labels);
  ZQSMPTE_NanoToSMPTE(LLONG_MAX, &v);
  EXPECT_LT(v.hours, 24u);
}

TEST_P(EveryRate, AddingAndSubtractingWrapIntoTheDay) {
  const RateCase r = GetParam();
  const std::vector<Label> day = Day(r);
  const LONGLONG n = static_cast<LONGLONG>(day.size());
  std::mt19937 rng(r.type);
  for (int i = 0; i < 2000; ++i) {
    const LONGLONG a = rng() % n, b = rng() % n;
    ZQSMPTEVAL va = Value(r.type, day[a]), vb = Value(r.type, day[b]);
    EXPECT_EQ(ZQSMPTE_AddSMPTE(&va, &vb), &va);
    EXPECT_EQ(Of(va), day[(a + b) % n]) << Show(day[a]) << " + " << Show(day[b]);
    va = Value(r.type, day[a]);
    EXPECT_EQ(ZQSMPTE_SubtractSMPTE(&va, &vb), &va);
    EXPECT_EQ(Of(va), day[((a - b) % n + n) % n]) << Show(day[a]) << " - " << Show(day[b]);
    EXPECT_EQ(va.type, r.type);
  }
}

INSTANTIATE_TEST_SUITE_P(Smpte, EveryRate, ::testing::ValuesIn(kRates),
                         [](const ::testing::TestParamInfo<RateCase>& info) {
                           return "Type" + std::to_string(info.param.type);
                         });

TEST(Smpte, DropFrameLabelsAroundTheDroppedOnes) {
  ZQSMPTEVAL v{};
  v.type = ZQSMPTE_TYPE_2997_DROP;
  ZQSMPTE_FrameCountToSMPTE(&v, 1800);
  EXPECT_EQ(Of(v), (Label{0, 1, 0, 2}));
  EXPECT_EQ(ZQSMPTE_SMPTEToFrameCount(&v), 1800u);
  ZQSMPTE_FrameCountToSMPTE(&v, 17982);
  EXPECT_EQ(Of(v), (Label{0, 10, 0, 0}));
  // A typed dropped label counts as frame 2 of its minute.
  ZQSMPTEVAL typed = Value(ZQSMPTE_TYPE_2997_DROP, {0, 1, 0, 0});
  EXPECT_EQ(ZQSMPTE_SMPTEToFrameCount(&typed), 1800u);
  typed.frames = 1;
  EXPECT_EQ(ZQSMPTE_SMPTEToFrameCount(&typed), 1800u);
  // Stepping from a dropped label lands on an existing one either way.
  ZQSMPTE_IncrementByFrame(&typed, 0);
  EXPECT_EQ(Of(typed), (Label{0, 1, 0, 2}));
  typed = Value(ZQSMPTE_TYPE_2997_DROP, {0, 1, 0, 1});
  ZQSMPTE_DeccrementByFrame(&typed, 0);
  EXPECT_EQ(Of(typed), (Label{0, 0, 59, 29}));
  // The last frame of the day and the one after it.
  ZQSMPTE_FrameCountToSMPTE(&v, 2589407);
  EXPECT_EQ(Of(v), (Label{23, 59, 59, 29}));
  ZQSMPTE_FrameCountToSMPTE(&v, 2589408);
  EXPECT_EQ(Of(v), (Label{0, 0, 0, 0}));
}

TEST(Smpte, ArithmeticEdges) {
  ZQSMPTEVAL a = Value(ZQSMPTE_TYPE_30, {23, 59, 59, 29}), one = Value(ZQSMPTE_TYPE_30, {0, 0, 0, 1});
  ZQSMPTE_AddSMPTE(&a, &one);
  EXPECT_EQ(Of(a), (Label{0, 0, 0, 0}));
  ZQSMPTEVAL second = Value(ZQSMPTE_TYPE_30, {0, 0, 1, 0});
  ZQSMPTE_SubtractSMPTE(&a, &second);
  EXPECT_EQ(Of(a), (Label{23, 59, 59, 0}));
  // b counts at its own rate: one second at 25 is 25 frames, added at 30.
  ZQSMPTEVAL b25 = Value(ZQSMPTE_TYPE_25, {0, 0, 1, 0});
  a = Value(ZQSMPTE_TYPE_30, {0, 0, 0, 0});
  ZQSMPTE_AddSMPTE(&a, &b25);
  EXPECT_EQ(Of(a), (Label{0, 0, 0, 25}));
  // Subtracting into a value without a rate gives zero, type kept.
  ZQSMPTEVAL none = Value(ZQSMPTE_TYPE_NONE, {1, 2, 3, 4});
  ZQSMPTE_SubtractSMPTE(&none, &second);
  EXPECT_EQ(Of(none), (Label{0, 0, 0, 0}));
  EXPECT_EQ(none.type, 0u);
  ZQSMPTEVAL bad = Value(9, {1, 2, 3, 4});
  EXPECT_EQ(ZQSMPTE_SMPTEToFrameCount(&bad), 0u);
  EXPECT_EQ(ZQSMPTE_SMPTEToNanos(&bad), 0);

  ZQSMPTE_IncrementByFrame(nullptr, 0);
  ZQSMPTE_DeccrementByFrame(nullptr, 0);
  ZQSMPTE_FrameCountToSMPTE(nullptr, 5);
  ZQSMPTE_NanoToSMPTE(5, nullptr);
  ZQSMPTE_TextToSMPTE(L"1", nullptr);
  EXPECT_EQ(ZQSMPTE_SMPTEToFrameCount(nullptr), 0u);
  EXPECT_EQ(ZQSMPTE_AddSMPTE(nullptr, &one), nullptr);
  EXPECT_EQ(ZQSMPTE_SubtractSMPTE(&a, nullptr), &a);
}

TEST(Smpte, CompareLooksAtTheNumbersOnly) {
  struct Case {
    Label a, b;
    int expected;
  } cases[] = {
      {{1, 0, 0, 0}, {0, 59, 59, 29}, 1}, {{0, 1, 0, 0}, {0, 1, 0, 0}, 0}, {{0, 0, 1, 0}, {0, 0, 1, 1}, -1},
      {{0, 2, 0, 0}, {0, 1, 59, 29}, 1},  {{5, 5, 5, 4}, {5, 5, 5, 5}, -1}, {{0, 0, 2, 0}, {0, 0, 1, 24}, 1},
  };
  for (const Case& c : cases) {
    ZQSMPTEVAL a = Value(ZQSMPTE_TYPE_25, c.a), b = Value(ZQSMPTE_TYPE_2997_DROP, c.b);
    EXPECT_EQ(ZQSMPTE_SMPTECompare(&a, &b), c.expected) << Show(c.a) << " vs " << Show(c.b);
    EXPECT_EQ(ZQSMPTE_SMPTECompare(&b, &a), -c.expected);
  }
}

TEST(Smpte, StepsAtTheRollovers) {
  struct Case {
    DWORD type;
    Label from, forward;
  } cases[] = {
      {ZQSMPTE_TYPE_25, {0, 0, 0, 24}, {0, 0, 1, 0}},
      {ZQSMPTE_TYPE_2997_DROP, {0, 0, 59, 29}, {0, 1, 0, 2}},
      {ZQSMPTE_TYPE_2997_DROP, {0, 9, 59, 29}, {0, 10, 0, 0}},
      {ZQSMPTE_TYPE_2997_DROP, {0, 10, 0, 0}, {0, 10, 0, 1}},
      {ZQSMPTE_TYPE_30, {23, 59, 59, 29}, {0, 0, 0, 0}},
      {ZQSMPTE_TYPE_NONE, {0, 0, 59, 29}, {0, 1, 0, 0}},  // no rate: 30 labels, none dropped
  };
  for (const Case& c : cases) {
    ZQSMPTEVAL v = Value(c.type, c.from);
    ZQSMPTE_IncrementByFrame(&v, 0);
    EXPECT_EQ(Of(v), c.forward) << Show(c.from);
    ZQSMPTE_DeccrementByFrame(&v, 0);
    EXPECT_EQ(Of(v), c.from) << Show(c.forward);
  }
}

TEST(Smpte, NanoTimeOfFrames) {
  ZQSMPTEVAL v = Value(ZQSMPTE_TYPE_30, {0, 0, 1, 0});
  EXPECT_EQ(ZQSMPTE_SMPTEToNanos(&v), 10000000);
  v = Value(ZQSMPTE_TYPE_2997, {0, 0, 0, 1});
  EXPECT_EQ(ZQSMPTE_SMPTEToNanos(&v), 333667);  // 1/29.97 s, rounded up
  // Read as non-drop at a caller's rate, whatever the type.
  v = Value(ZQSMPTE_TYPE_2997_DROP, {0, 1, 0, 0});
  EXPECT_EQ(ZQSMPTE_SmpteLikeToNanos(30.0, &v), 600000000);
  v = Value(ZQSMPTE_TYPE_NONE, {0, 0, 2, 5});
  EXPECT_EQ(ZQSMPTE_SmpteLikeToNanos(10.0, &v), 25000000);
  EXPECT_EQ(ZQSMPTE_SmpteLikeToNanos(0.0, &v), 20000000);   // no rate: frames ignored
  EXPECT_EQ(ZQSMPTE_SmpteLikeToNanos(-5.0, &v), 20000000);
  v = Value(ZQSMPTE_TYPE_NONE, {0xFFFFFFFFu, 0, 0, 0});
  EXPECT_EQ(ZQSMPTE_SmpteLikeToNanos(30.0, &v), LLONG_MIN);  // beyond nano time
  EXPECT_EQ(ZQSMPTE_SmpteLikeToNanos(30.0, nullptr), 0);
}

TEST(Smpte, TypedTimeCode) {
  struct Case {
    DWORD type;
    const WCHAR* text;
    Label expected;
  } cases[] = {
      {ZQSMPTE_TYPE_30, L"01020304", {1, 2, 3, 4}},
      {ZQSMPTE_TYPE_30, L"12", {0, 0, 0, 12}},
      {ZQSMPTE_TYPE_30, L"1:", {0, 0, 1, 0}},
      {ZQSMPTE_TYPE_30, L"1:2:", {0, 1, 2, 0}},
      {ZQSMPTE_TYPE_30, L"75", {0, 0, 2, 15}},
      {ZQSMPTE_TYPE_NONE, L"75", {0, 0, 0, 75}},  // no rate: frames do not carry
      {ZQSMPTE_TYPE_30, L"12345", {0, 1, 24, 15}},  // 1 23 45, frames carry
      {ZQSMPTE_TYPE_25, L"99:99:99:99", {4, 40, 42, 24}},
      {ZQSMPTE_TYPE_24, L"12:34:56:78:", {12, 34, 59, 6}},
      {ZQSMPTE_TYPE_30, L"1 2 3 4 5", {1, 2, 3, 4}},  // the fifth field is not read
      {ZQSMPTE_TYPE_30, L"  01:02:03:04  ", {1, 2, 3, 4}},
      {ZQSMPTE_TYPE_30, L"1h2m", {0, 1, 2, 0}},  // letters separate fields, a trailing one implies a zero
      {ZQSMPTE_TYPE_30, L"1h2m3", {0, 1, 2, 3}},
      {ZQSMPTE_TYPE_30, L"-5", {0, 0, 0, 5}},
      {ZQSMPTE_TYPE_30, L"1::3", {0, 0, 1, 3}},  // empty fields do not count
      {ZQSMPTE_TYPE_2997_DROP, L"00:01:00;00", {0, 1, 0, 0}},  // kept as typed
      {ZQSMPTE_TYPE_30, L"", {0, 0, 0, 0}},
      {ZQSMPTE_TYPE_30, L"abc", {0, 0, 0, 0}},
      {ZQSMPTE_TYPE_30, L"   ", {0, 0, 0, 0}},
      {ZQSMPTE_TYPE_30, nullptr, {0, 0, 0, 0}},
      {ZQSMPTE_TYPE_30, L"999999999999999999999999999999999999999", {10, 40, 42, 9}},  // 9 99 99 99 ...
  };
  for (const Case& c : cases) {
    ZQSMPTEVAL v{c.type, 7, 7, 7, 7, 7};
    ZQSMPTE_TextToSMPTE(c.text, &v);
    EXPECT_EQ(Of(v), c.expected) << (c.text ? c.text : L"(null)");
    EXPECT_EQ(v.type, c.type);
    EXPECT_EQ(v.reserved, 0u);
  }
}

}  // namespace
