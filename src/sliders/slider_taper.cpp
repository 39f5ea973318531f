// The taper curves and the mapping of values onto a track of pixels.
//
// A curve is piecewise linear on the magnitude (the sign carries over).
// Positions are kept in units of 1 / 2^kShift so that every segment rises
// by at least one unit per value: each value has a position of its own and
// the inverse gives it back exactly, over the whole 32-bit range.
#include <climits>

#include "sliders/slider.h"

namespace zq::controls::slider {
namespace {

constexpr int kShift = 21;  // the flattest segment: 1000 per 1,342,177,280 values

struct Point {
  LONGLONG x, y;
};
// Standard: magnitudes above 1000 map to themselves.
constexpr Point kStandard[] = {{0, 0},     {30, 250},  {60, 400},  {120, 500},  {250, 600},
                               {400, 800}, {700, 950}, {1000, 1000}, {0x80000000LL, 0x80000000LL}};
// Logarithmic: each doubling of the magnitude adds 1000, from 20 to the end
// of the 32-bit range (the table's last point is 163840 -> 14000; the curve
// goes on the same way rather than jumping to the identity).
constexpr Point kLogarithmic[] = {
    {0, 0},         {20, 1000},      {40, 2000},      {80, 3000},       {160, 4000},      {320, 5000},
    {640, 6000},    {1280, 7000},    {2560, 8000},    {5120, 9000},     {10240, 10000},   {20480, 11000},
    {40960, 12000}, {81920, 13000},  {163840, 14000}, {327680, 15000},  {655360, 16000},  {1310720, 17000},
    {2621440, 18000}, {5242880, 19000}, {10485760, 20000}, {20971520, 21000}, {41943040, 22000},
    {83886080, 23000}, {167772160, 24000}, {335544320, 25000}, {671088640, 26000}, {1342177280, 27000},
    {2684354560LL, 28000}};

template <size_t N>
constexpr bool Rising(const Point (&curve)[N]) {
  for (size_t i = 1; i < N; ++i)
    if (((curve[i].y - curve[i - 1].y) << kShift) < curve[i].x - curve[i - 1].x) return false;
  return true;
}
static_assert(Rising(kStandard) && Rising(kLogarithmic), "every value needs a position of its own");

struct Curve {
  const Point* points;
  int count;
};
Curve CurveOf(bool logarithmic) {
  if (logarithmic) return {kLogarithmic, static_cast<int>(sizeof(kLogarithmic) / sizeof(kLogarithmic[0]))};
  return {kStandard, static_cast<int>(sizeof(kStandard) / sizeof(kStandard[0]))};
}

// Position of a magnitude 0 ... 2^31.
LONGLONG MagnitudePosition(LONGLONG magnitude, bool logarithmic) {
  const Curve c = CurveOf(logarithmic);
  int i = 1;
  while (i < c.count - 1 && magnitude > c.points[i].x) ++i;
  const Point& a = c.points[i - 1];
  const Point& b = c.points[i];
  if (b.y - a.y == b.x - a.x) return (a.y + magnitude - a.x) << kShift;  // the identity
  // (magnitude - a.x) < 2^31 and the rise < 2^32: the product fits.
  return (a.y << kShift) + (magnitude - a.x) * ((b.y - a.y) << kShift) / (b.x - a.x);
}

// The smallest magnitude whose position reaches `position` (roundUp), or
// the largest whose position does not pass it.
LONGLONG MagnitudeAt(LONGLONG position, bool logarithmic, bool roundUp) {
  const Curve c = CurveOf(logarithmic);
  if (position <= 0) return 0;
  int i = 1;
  while (i < c.count - 1 && position > (c.points[i].y << kShift)) ++i;
  const Point& a = c.points[i - 1];
  const Point& b = c.points[i];
  if (b.y - a.y == b.x - a.x) {  // the identity
    const LONGLONG units = position >> kShift;
    const LONGLONG whole = roundUp && (units << kShift) < position ? units + 1 : units;
    return whole - a.y + a.x;
  }
  const LONGLONG rise = (b.y - a.y) << kShift, run = b.x - a.x;
  const LONGLONG offset = position - (a.y << kShift);
  LONGLONG steps = offset * run / rise;
  if (roundUp) {
    if (steps * rise < offset * run) ++steps;
  } else if (MagnitudePosition(a.x + steps, logarithmic) > position) {
    --steps;
  }
  LONGLONG magnitude = a.x + steps;
  if (roundUp) {
    while (MagnitudePosition(magnitude, logarithmic) < position) ++magnitude;
  } else {
    while (magnitude < b.x && MagnitudePosition(magnitude + 1, logarithmic) <= position) ++magnitude;
  }
  return magnitude;
}

LONG Saturate(LONGLONG value) {
  return static_cast<LONG>(value < LONG_MIN ? LONG_MIN : value > LONG_MAX ? LONG_MAX : value);
}

// floor(a * b / c) for a <= c < 2^48 and b < 2^32, without overflow.
LONGLONG MulDiv(ULONGLONG a, ULONGLONG b, ULONGLONG c) {
  if (c == 0) return 0;
  const ULONGLONG low = (a & 0xFFFFFFFF) * b, high = (a >> 32) * b + (low >> 32);
  // The 96-bit product high:low32, divided 16 bits at a time.
  const ULONGLONG digits[6] = {high >> 48 & 0xFFFF, high >> 32 & 0xFFFF, high >> 16 & 0xFFFF,
                               high & 0xFFFF,       low >> 16 & 0xFFFF,  low & 0xFFFF};
  ULONGLONG remainder = 0, quotient = 0;
  for (ULONGLONG digit : digits) {
    remainder = (remainder << 16) | digit;
    quotient = (quotient << 16) | (remainder / c);
    remainder %= c;
  }
  return static_cast<LONGLONG>(quotient);
}

}  // namespace

LONGLONG TaperPosition(LONG value, bool logarithmic) noexcept {
  const LONGLONG magnitude = value < 0 ? -static_cast<LONGLONG>(value) : value;
  const LONGLONG position = MagnitudePosition(magnitude, logarithmic);
  return value < 0 ? -position : position;
}

LONG TaperValue(LONGLONG position, bool logarithmic) noexcept {
  // The smallest value at or beyond the position: rounded up above zero,
  // toward zero below it.
  if (position >= 0) return Saturate(MagnitudeAt(position, logarithmic, true));
  return Saturate(-MagnitudeAt(-position, logarithmic, false));
}

LONG TaperCurve(LONG value, bool logarithmic) noexcept {
  const LONGLONG position = TaperPosition(value, logarithmic);
  const LONGLONG units = (position < 0 ? -position : position) >> kShift;
  return Saturate(position < 0 ? -units : units);
}

LONG TaperInverse(LONG value, bool logarithmic) noexcept {
  return TaperValue(static_cast<LONGLONG>(value) * (1LL << kShift), logarithmic);
}

void PrepareTaper(Scale& scale) noexcept {
  const LONGLONG top = TaperCurve(scale.max, scale.logarithmic), bottom = TaperCurve(scale.min, scale.logarithmic);
  LONGLONG span = top - bottom;
  if (span < 1) span = 1;
  const LONGLONG range = static_cast<LONGLONG>(scale.max) - scale.min;
  const LONGLONG offset = scale.max - top * range / span;
  scale.span = Saturate(span);
  scale.offset = Saturate(offset);
}

LONG ValueToDistance(const Scale& scale, LONG value, LONG length) noexcept {
  const LONGLONG range = static_cast<LONGLONG>(scale.max) - scale.min;
  if (range <= 0 || length <= 0) return 0;
  if (value <= scale.min) return 0;
  if (value >= scale.max) return length;
  if (!scale.taper) {
    // range < 2^32 and length < 2^31: the product fits in 64 bits.
    return static_cast<LONG>((static_cast<LONGLONG>(value) - scale.min) * length / range);
  }
  // The tapered value rescaled to the range, then onto the track: in one
  // step, on the curve's own positions (below 2^37 apart).
  const LONGLONG from = TaperPosition(scale.min, scale.logarithmic);
  const LONGLONG span = TaperPosition(scale.max, scale.logarithmic) - from;
  const LONGLONG placed = TaperPosition(value, scale.logarithmic) - from;
  return static_cast<LONG>(MulDiv(static_cast<ULONGLONG>(placed), static_cast<ULONGLONG>(length),
                                  static_cast<ULONGLONG>(span)));
}

LONG DistanceToValue(const Scale& scale, LONG distance, LONG length) noexcept {
  if (length < 2 || scale.max <= scale.min) return scale.min;
  if (distance <= 0) return scale.min;
  if (distance >= length) return scale.max;
  // The mapping is monotonic: the first value that reaches the distance.
  LONGLONG low = scale.min, high = scale.max;
  while (low < high) {
    const LONGLONG middle = low + (high - low) / 2;
    if (ValueToDistance(scale, static_cast<LONG>(middle), length) >= distance) high = middle;
    else low = middle + 1;
  }
  return static_cast<LONG>(low);
}

}  // namespace zq::controls::slider
