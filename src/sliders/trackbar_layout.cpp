// The trackbar's geometry: track and thumb placement, the value <-> pixel
// mapping and the range rules.
#include "sliders/trackbar_internal.h"

namespace zq::controls {
namespace {

constexpr LONG kMinWidth = 50, kMinHeight = 19;
constexpr LONG kFlatThumb = 12;
constexpr LONG kThumbInset = 2;     // a flat thumb leaves this much of the thickness on each side
constexpr LONG kMaxThumbAcross = 20;

bool ImageThumb(const Trackbar& t) { return t.thumbBitmap || t.images[0]; }

}  // namespace

slider::Scale ScaleOf(const Trackbar& t) {
  slider::Scale scale;
  scale.min = t.min;
  scale.max = t.max;
  scale.taper = t.style & TBKS_TAPER;
  scale.logarithmic = t.style & TBKS_LOGARITHMIC;
  scale.offset = t.taperOffset;
  scale.span = t.taperSpan ? t.taperSpan : 1;
  return scale;
}

void PrepareScale(Trackbar& t) {
  slider::Scale scale = ScaleOf(t);
  slider::PrepareTaper(scale);
  t.taperOffset = scale.offset;
  t.taperSpan = scale.span;
}

LONG PixelOf(const Trackbar& t, LONG value) {
  const LONG d = slider::ValueToDistance(ScaleOf(t), value, t.trackLength);
  return IsVertical(t) ? t.track.bottom - t.marginEnd - d : t.track.left + t.marginStart + d;
}

LONG Along(const Trackbar& t, POINT point) { return IsVertical(t) ? point.y : point.x; }

LONG ValueAt(const Trackbar& t, LONG along) {
  const LONG d = IsVertical(t) ? t.track.bottom - t.marginEnd - along : along - t.track.left - t.marginStart;
  return slider::DistanceToValue(ScaleOf(t), d, t.trackLength);
}

static void UpdateFineMapping(Trackbar& t) {
  const bool fine = (t.style & TBKS_FINEMAPPING) || t.trackLength >= static_cast<LONGLONG>(t.max) - t.min;
  t.state = fine ? (t.state | TBKST_FINEMAPPING) : (t.state & ~TBKST_FINEMAPPING);
}

void RederiveRange(Trackbar& t) {
  if (t.min > t.max) {
    const LONG swap = t.min;
    t.min = t.max;
    t.max = swap;
  }
  if (t.min >= 0 || t.max < 0) t.centre = static_cast<LONG>((static_cast<LONGLONG>(t.min) + t.max) / 2);
  else t.centre = t.max == 0 ? t.min : 0;
  if (t.style & TBKS_TAPER) PrepareScale(t);
  t.value = slider::Clamp(t.value, t.min, t.max);
  t.saved = slider::Clamp(t.saved, t.min, t.max);
  UpdateFineMapping(t);
  PlaceThumb(t);
}

void PlaceThumb(Trackbar& t) {
  const bool vertical = IsVertical(t);
  const RECT& c = t.control;
  const LONG across0 = vertical ? c.left : c.top, across1 = vertical ? c.right : c.bottom;
  LONG from = across0, to = across1;
  LONG wanted = to - from;
  if (t.thumbBitmap) wanted = vertical ? t.bitmapWidth : t.bitmapHeight;
  else if (t.images[0]) wanted = t.imageMetrics[vertical ? 0 : 3] > 0 ? t.imageMetrics[vertical ? 0 : 3] : wanted;
  else wanted = wanted - 2 * kThumbInset > kMaxThumbAcross ? kMaxThumbAcross : wanted - 2 * kThumbInset;
  if (wanted > 0 && wanted < to - from) {
    from += (to - from - wanted) / 2;
    to = from + wanted;
  }
  const LONG pixel = PixelOf(t, t.value);
  const LONG start = pixel - t.thumbLength / 2, end = start + t.thumbLength;
  if (vertical) SetRect(&t.thumb, from, start, to, end);
  else SetRect(&t.thumb, start, from, end, to);
}

void Layout(Trackbar& t) {
  const bool vertical = IsVertical(t);
  if (t.thumbBitmap) {
    t.thumbLength = vertical ? t.bitmapHeight : t.bitmapWidth;
  } else if (t.images[0]) {
    const LONG metric = t.imageMetrics[vertical ? 1 : 2];
    t.thumbLength = metric > 0 ? metric : 18;
  } else if (t.state & TBKST_FLATTHUMB) {
    t.thumbLength = kFlatThumb;
  } else {
    t.thumbLength = (t.style & TBKS_THUMBSIZE_MASK) == TBKS_THUMB8 ? 8 : 10;
  }
  const bool narrow = (t.style & TBKS_TRACK_MASK) == TBKS_TRACK_NARROW;
  t.trackThickness = narrow ? 2 : ImageThumb(t) ? 3 : 4;
  const LONG inset = narrow ? 1 : 2;
  t.marginStart = t.marginEnd = inset;

  const RECT& c = t.control = t.area;
  const LONG across0 = vertical ? c.left : c.top, across1 = vertical ? c.right : c.bottom;
  const LONG thickness = across1 - across0;
  const LONG length = vertical ? c.bottom - c.top : c.right - c.left;
  if (thickness < t.trackThickness + 2 || length < t.thumbLength + 2 * inset) t.state |= TBKST_HIDDEN;
  else t.state &= ~TBKST_HIDDEN;

  const LONG trackFrom = across0 + (thickness - t.trackThickness) / 2;
  const LONG start = (vertical ? c.top : c.left) + t.thumbLength / 2 - inset;
  const LONG end = (vertical ? c.bottom : c.right) - (t.thumbLength - inset - t.thumbLength / 2);
  if (vertical) SetRect(&t.track, trackFrom, start, trackFrom + t.trackThickness, end);
  else SetRect(&t.track, start, trackFrom, end, trackFrom + t.trackThickness);
  t.trackStart = vertical ? t.track.top : t.track.left;
  t.trackLength = length - t.thumbLength;
  if (t.trackLength < 0) t.trackLength = 0;
  UpdateFineMapping(t);
  PlaceThumb(t);
}

}  // namespace zq::controls

using namespace zq::controls;

ZQAPI ULONGLONG WINAPI TrackbarInst_GetMinSize(ZQTRACKBARINST*, SIZE* size) noexcept {
  if (size) *size = SIZE{kMinWidth, kMinHeight};
  return static_cast<ULONGLONG>(kMinWidth) | (static_cast<ULONGLONG>(kMinHeight) << 32);
}

ZQAPI RECT* WINAPI TrackbarInst_GetThumbRect(RECT* out, ZQTRACKBARINST* inst) noexcept {
  if (!out) return nullptr;
  if (inst) *out = TrackbarOf(inst)->thumb;
  else SetRectEmpty(out);
  return out;
}
