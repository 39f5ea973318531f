// The taper curve and the mapping of values onto a track of pixels.
#include <climits>

#include "controls/slider.h"

namespace zq::controls::slider {
namespace {

struct Point {
  LONG x, y;
};
constexpr Point kCurve[] = {{0, 0},     {30, 250},  {60, 400},  {120, 500},
                            {250, 600}, {400, 800}, {700, 950}, {1000, 1000}};
constexpr int kPoints = sizeof(kCurve) / sizeof(kCurve[0]);

// Through the curve's points, from x to y (inverse: from y to x).
LONG Interpolate(LONG value, bool inverse) {
  const bool negative = value < 0;
  const LONGLONG magnitude = negative ? -static_cast<LONGLONG>(value) : value;
  if (magnitude > 1000) return value;
  LONGLONG result = 1000;
  for (int i = 1; i < kPoints; ++i) {
    const LONG x0 = inverse ? kCurve[i - 1].y : kCurve[i - 1].x, x1 = inverse ? kCurve[i].y : kCurve[i].x;
    const LONG y0 = inverse ? kCurve[i - 1].x : kCurve[i - 1].y, y1 = inverse ? kCurve[i].x : kCurve[i].y;
    if (magnitude <= x1) {
      result = y0 + (magnitude - x0) * (y1 - y0) / (x1 - x0);
      break;
    }
  }
  return static_cast<LONG>(negative ? -result : result);
}

}  // namespace

LONG TaperCurve(LONG value) noexcept { return Interpolate(value, false); }

LONG TaperInverse(LONG value) noexcept { return Interpolate(value, true); }

void PrepareTaper(Scale& scale) noexcept {
  LONGLONG span = static_cast<LONGLONG>(TaperCurve(scale.max)) - TaperCurve(scale.min);
  if (span < 1) span = 1;
  const LONGLONG range = static_cast<LONGLONG>(scale.max) - scale.min;
  const LONGLONG offset = scale.max - static_cast<LONGLONG>(TaperCurve(scale.max)) * range / span;
  scale.span = static_cast<LONG>(span > 0x7FFFFFFF ? 0x7FFFFFFF : span);
  scale.offset = static_cast<LONG>(offset < LONG_MIN ? LONG_MIN : offset > LONG_MAX ? LONG_MAX : offset);
}

LONGLONG Placed(const Scale& scale, LONG value) noexcept {
  if (!scale.taper) return value;
  const LONGLONG range = static_cast<LONGLONG>(scale.max) - scale.min;
  return static_cast<LONGLONG>(TaperCurve(value)) * range / scale.span + scale.offset;
}

LONG ValueToDistance(const Scale& scale, LONG value, LONG length) noexcept {
  const LONGLONG range = static_cast<LONGLONG>(scale.max) - scale.min;
  if (range <= 0 || length <= 0) return 0;
  LONGLONG placed = Placed(scale, value) - scale.min;
  if (placed < 0) placed = 0;
  if (placed > range) placed = range;
  // range < 2^32 and length < 2^31: the product fits in 64 bits.
  return static_cast<LONG>(placed * length / range);
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
