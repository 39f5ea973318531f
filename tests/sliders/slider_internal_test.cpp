// The slider arithmetic the fader, trackbar and spinner share, over plain
// numbers: the taper curve, the value <-> pixel mapping over whole tracks and
// the full 32-bit range, and the scroll codes.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <vector>

#include "sliders/slider.h"

namespace slider = zq::controls::slider;

namespace {

TEST(SliderTaper, CurveThroughItsPointsAndInverse) {
  const LONG points[][2] = {{0, 0},     {30, 250},  {60, 400},  {120, 500},
                            {250, 600}, {400, 800}, {700, 950}, {1000, 1000}};
  for (const auto& p : points) {
    EXPECT_EQ(slider::TaperCurve(p[0]), p[1]);
    EXPECT_EQ(slider::TaperCurve(-p[0]), -p[1]);
    EXPECT_EQ(slider::TaperInverse(p[1]), p[0]);
    EXPECT_EQ(slider::TaperInverse(-p[1]), -p[0]);
  }
  EXPECT_EQ(slider::TaperCurve(15), 125);
  EXPECT_EQ(slider::TaperCurve(185), 550);
  for (LONG beyond : {1001L, 5000L, LONG_MAX, -1001L, LONG_MIN}) {
    EXPECT_EQ(slider::TaperCurve(beyond), beyond);
    EXPECT_EQ(slider::TaperInverse(beyond), beyond);
  }
  // Monotonic, and the inverse undoes the curve within the steepest slope
  // of each direction (300/50 and 250/30 units).
  for (LONG x = -1000; x < 1000; ++x) {
    EXPECT_LE(slider::TaperCurve(x), slider::TaperCurve(x + 1));
    EXPECT_LE(std::abs(slider::TaperInverse(slider::TaperCurve(x)) - x), 6) << x;
    EXPECT_LE(std::abs(slider::TaperCurve(slider::TaperInverse(x)) - x), 9) << x;
  }
}

slider::Scale MakeScale(LONG min, LONG max, bool taper) {
  slider::Scale scale;
  scale.min = min;
  scale.max = max;
  scale.taper = taper;
  slider::PrepareTaper(scale);
  return scale;
}

// Every pixel of the track maps to a value that maps back onto it when the
// range has at least as many values as the track pixels.
TEST(SliderMapping, RoundTripOverWholeTracks) {
  struct Case {
    LONG min, max;
    bool taper;
  } cases[] = {{0, 1000, false},      {0, 1000, true},       {-100, 100, false},   {-1000, 1000, true},
               {INT_MIN, INT_MAX, false}, {INT_MIN, INT_MAX, true}, {0, 127, false}, {5, 5000000, true}};
  for (const Case& c : cases)
    for (LONG length : {37, 100, 180, 127}) {
      const slider::Scale scale = MakeScale(c.min, c.max, c.taper);
      EXPECT_EQ(slider::ValueToDistance(scale, c.min, length), 0);
      EXPECT_EQ(slider::ValueToDistance(scale, c.max, length), length);
      EXPECT_EQ(slider::DistanceToValue(scale, -5, length), c.min);
      EXPECT_EQ(slider::DistanceToValue(scale, length + 5, length), c.max);
      LONG previous = c.min;
      for (LONG d = 0; d <= length; ++d) {
        const LONG value = slider::DistanceToValue(scale, d, length);
        EXPECT_GE(value, previous);
        previous = value;
        const LONG back = slider::ValueToDistance(scale, value, length);
        if (static_cast<LONGLONG>(c.max) - c.min >= length && !c.taper) {
          EXPECT_EQ(back, d) << c.min << ".." << c.max << " length " << length;
        } else {
          // Tapered or coarse: the first value at or after the pixel.
          EXPECT_GE(back, d) << c.min << ".." << c.max << " length " << length;
          if (value > c.min && d < length) {
            EXPECT_LT(slider::ValueToDistance(scale, value - 1, length), d);
          }
        }
      }
    }
}

TEST(SliderMapping, TaperPlacesThirtyWhereLinearPlacesTwoHundredFifty) {
  const slider::Scale taper = MakeScale(0, 1000, true), linear = MakeScale(0, 1000, false);
  for (LONG length : {100, 180, 1000})
    EXPECT_EQ(slider::ValueToDistance(taper, 30, length), slider::ValueToDistance(linear, 250, length));
  EXPECT_EQ(slider::ValueToDistance(MakeScale(7, 7, false), 7, 100), 0);   // max = min
  EXPECT_EQ(slider::DistanceToValue(MakeScale(0, 100, false), 50, 1), 0);  // track under 2 pixels
}

TEST(SliderScroll, CodesPagesAndTheFullRange) {
  EXPECT_EQ(slider::PageStep(0, 3, 0, false), 1);  // (3 + 5) / 10 = 0, raised to 1
  EXPECT_EQ(slider::PageStep(0, 100, 0, false), 10);
  EXPECT_EQ(slider::PageStep(0, 100, 0, true), 100);
  EXPECT_EQ(slider::PageStep(0, 100, 7, false), 7);
  EXPECT_EQ(slider::PageStep(INT_MIN, INT_MAX, 0, false), 429496730);  // (2^32 - 1 + 5) / 10
  struct Case {
    int code;
    LONG value, min, max, line, page;
    bool ctrl;
    LONG expected;
  } cases[] = {
      {0, 5, 0, 100, 1, 0, false, 6},       {1, 5, 0, 100, 1, 0, false, 4},
      {2, 5, 0, 100, 1, 0, false, 15},      {3, 5, 0, 100, 1, 0, false, 0},
      {2, 5, 0, 100, 1, 0, true, 100},      {6, 5, -100, 100, 1, 0, false, 0},
      {6, 5, -100, 100, 1, 0, true, 100},   {6, 5, 0, 100, 1, 0, false, 100},
      {7, 5, -100, 100, 1, 0, false, -100}, {4, 5, 0, 100, 1, 0, false, 5},
      {0, INT_MAX, INT_MIN, INT_MAX, 1, 0, false, INT_MAX},
      {1, INT_MIN, INT_MIN, INT_MAX, 1, 0, false, INT_MIN},
      {2, INT_MIN, INT_MIN, INT_MAX, 1, 0, false, INT_MIN + 429496730},
      {3, INT_MAX, INT_MIN, INT_MAX, 1, 0, true, INT_MIN},  // a page of 4294967300 with Ctrl
      {0, 10, 0, 100, INT_MAX, 0, false, 100},
  };
  for (const Case& c : cases)
    EXPECT_EQ(slider::ApplyScrollCode(c.code, c.value, c.min, c.max, c.line, c.page, c.ctrl), c.expected)
        << c.code << " " << c.value;
  EXPECT_EQ(slider::DigitValue(INT_MIN, INT_MAX, 5), -1);
  EXPECT_EQ(slider::DigitValue(INT_MIN, INT_MAX, 0), INT_MIN);
  EXPECT_EQ(slider::DigitValue(INT_MIN, INT_MAX, 10), INT_MAX);
  EXPECT_EQ(slider::DigitValue(0, 100, 3), 30);
  const LONG halves[][2] = {{0, 0}, {1, 1}, {-1, -1}, {3, 2}, {-3, -2}, {4, 2}, {-4, -2}, {INT_MIN, -1073741824}};
  for (const auto& h : halves) EXPECT_EQ(slider::HalfAwayFromZero(h[0]), h[1]) << h[0];
}

}  // namespace

namespace {

// ---- Logarithmic taper ---------------------------------------------------------------------

TEST(SliderLogTaper, TablePointsAndTheDoublingsBeyond) {
  const LONG points[][2] = {{0, 0},         {20, 1000},     {40, 2000},     {80, 3000},      {160, 4000},
                            {320, 5000},    {640, 6000},    {1280, 7000},   {2560, 8000},    {5120, 9000},
                            {10240, 10000}, {20480, 11000}, {40960, 12000}, {81920, 13000},  {163840, 14000},
                            {327680, 15000}, {1342177280, 27000}};
  for (const auto& p : points) {
    EXPECT_EQ(slider::TaperCurve(p[0], true), p[1]) << p[0];
    EXPECT_EQ(slider::TaperCurve(-p[0], true), -p[1]) << p[0];
    EXPECT_EQ(slider::TaperInverse(p[1], true), p[0]) << p[1];
  }
  EXPECT_EQ(slider::TaperCurve(30, true), 1500);  // halfway between 1000 and 2000
  // Past the table the curve goes on without a jump: 163841 is not mapped
  // to itself but just above 14000, and the top of the range near 28000.
  EXPECT_EQ(slider::TaperCurve(163841, true), 14000);
  EXPECT_EQ(slider::TaperCurve(245760, true), 14500);
  EXPECT_EQ(slider::TaperCurve(INT_MAX, true), 27599);
  EXPECT_EQ(slider::TaperCurve(INT_MIN, true), -27600);
}

// Every 32-bit value has a position of its own on both curves, and the
// position gives the value back; positions between two values' go to the
// greater value. Sampled densely near the table and across the range.
TEST(SliderLogTaper, PositionsRoundTripOverTheWholeRange) {
  std::vector<LONG> values;
  for (LONG v = -200000; v <= 200000; ++v) values.push_back(v);
  for (LONGLONG v = INT_MIN; v <= INT_MAX; v += 2147483647 / 4099) values.push_back(static_cast<LONG>(v));
  for (LONG edge : {INT_MIN, INT_MIN + 1, INT_MAX - 1, INT_MAX, 1342177279, 1342177280, 1342177281})
    values.push_back(edge);
  for (bool logarithmic : {false, true}) {
    for (LONG v : values) {
      const LONGLONG position = slider::TaperPosition(v, logarithmic);
      ASSERT_EQ(slider::TaperValue(position, logarithmic), v) << v << (logarithmic ? " log" : " standard");
      if (v < INT_MAX) {
        const LONGLONG next = slider::TaperPosition(v + 1, logarithmic);
        ASSERT_GT(next, position) << v;
        if (next - position > 1) {
          EXPECT_EQ(slider::TaperValue(position + 1, logarithmic), v + 1) << v;
        }
      }
    }
  }
}

// On a track, value -> pixel -> value lands on a value drawn on the same
// pixel, and the track has no gap: a pixel is missed only where one value
// step spans more than a pixel (the steep start of the curve), never the
// run of pixels where the table's identity above 163840 used to jump.
TEST(SliderLogTaper, TracksHaveNoGapsAndRoundTrip) {
  struct Case {
    LONG min, max, length;
  } cases[] = {{0, 1000000, 300}, {0, 200000, 400}, {-5000000, 5000000, 250}, {INT_MIN, INT_MAX, 500},
               {0, 300, 300}, {100000, 200000, 180}};
  for (const Case& c : cases) {
    slider::Scale scale = MakeScale(c.min, c.max, true);
    scale.logarithmic = true;
    slider::PrepareTaper(scale);
    for (LONG d = 0; d <= c.length; ++d) {
      const LONG value = slider::DistanceToValue(scale, d, c.length);
      const LONG drawn = slider::ValueToDistance(scale, value, c.length);
      EXPECT_GE(drawn, d);
      EXPECT_LE(drawn - d, 3) << c.min << ".." << c.max << " pixel " << d;
      if (value > c.min) {
        EXPECT_LT(slider::ValueToDistance(scale, value - 1, c.length), d);
      }
    }
    const LONGLONG step = (static_cast<LONGLONG>(c.max) - c.min) / 997 + 1;
    for (LONGLONG v = c.min; v <= c.max; v += step) {
      const LONG d = slider::ValueToDistance(scale, static_cast<LONG>(v), c.length);
      const LONG back = slider::DistanceToValue(scale, d, c.length);
      EXPECT_LE(back, v);
      EXPECT_EQ(slider::ValueToDistance(scale, back, c.length), d);
    }
  }
  // Where the old curve jumped from 14000 to 163841 (0 ... 1,000,000 on 300
  // pixels: pixels 5 to 49), every pixel now has its values.
  slider::Scale scale = MakeScale(0, 1000000, true);
  scale.logarithmic = true;
  for (LONG d = 5; d <= 49; ++d)
    EXPECT_EQ(slider::ValueToDistance(scale, slider::DistanceToValue(scale, d, 300), 300), d) << d;
}

// ---- Codes of the controls that run toward the left ---------------------------------------------

TEST(SliderScroll, OrientedCodes) {
  struct Case {
    int code;
    bool vertical, centreRule;
    LONG value, min, max;
    LONG expected;
  } cases[] = {
      {0, false, false, 10, 0, 100, 9},     {1, false, false, 10, 0, 100, 11},
      {2, false, false, 10, 0, 100, 0},     {3, false, false, 10, 0, 100, 20},
      {6, false, false, 10, -50, 50, -50},  {7, false, false, 10, -50, 50, 50},
      {0, true, false, 10, 0, 100, 11},     {3, true, false, 10, 0, 100, 0},
      {6, true, false, 10, -50, 50, 50},    {6, true, true, 10, -50, 50, 0},
      {7, true, true, 10, -50, 50, -50},    {6, false, true, 10, -50, 50, -50},
      {3, false, false, INT_MAX - 5, INT_MIN, INT_MAX, INT_MAX},
      {2, false, false, INT_MIN + 5, INT_MIN, INT_MAX, INT_MIN},
      {4, false, false, 77, 0, 100, 77},
  };
  for (const Case& c : cases)
    EXPECT_EQ(slider::ApplyOrientedScrollCode(c.code, c.vertical, c.centreRule, c.value, c.min, c.max, 1, 0, false),
              c.expected)
        << c.code << (c.vertical ? " vertical" : " horizontal");
  // The stepping codes: toward the maximum is up (vertical) or right.
  EXPECT_EQ(slider::OrientedStepCode(true, false, true), 0);
  EXPECT_EQ(slider::OrientedStepCode(true, true, true), 2);
  EXPECT_EQ(slider::OrientedStepCode(false, true, true), 3);
  EXPECT_EQ(slider::OrientedStepCode(true, false, false), 1);
  EXPECT_EQ(slider::OrientedStepCode(true, true, false), 3);
  EXPECT_EQ(slider::OrientedStepCode(false, false, false), 0);
}

}  // namespace
