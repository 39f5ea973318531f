// The fader's geometry: track and thumb placement, the value <-> pixel
// mapping and the range rules.

#include "sliders/fader_internal.h"

namespace zq::controls {

bool IsVertical(const Fader& f) { return f.style & FADS_VERT; }
bool IsStereo(const Fader& f) { return f.channels == 2; }

slider::Scale ScaleOf(const Fader& f) {
  slider::Scale scale;
  scale.min = f.min;
  scale.max = f.max;
  scale.taper = f.style & FADS_TAPER;
  scale.offset = f.taperOffset;
  scale.span = f.taperSpan ? f.taperSpan : 1;
  return scale;
}

void PrepareScale(Fader& f) {
  slider::Scale scale = ScaleOf(f);
  slider::PrepareTaper(scale);
  f.taperOffset = scale.offset;
  f.taperSpan = scale.span;
}

void ClampValues(Fader& f) {
  for (int c = 0; c < 2; ++c) f.values[c] = slider::Clamp(f.values[c], f.min, f.max);
  f.centre = slider::Clamp(f.centre, f.min, f.max);
}

void RederiveRange(Fader& f) {
  if (f.min > f.max) {
    const LONG swap = f.min;
    f.min = f.max;
    f.max = swap;
  }
  if (f.min >= 0 || f.max < 0) f.centre = static_cast<LONG>((static_cast<LONGLONG>(f.min) + f.max) / 2);
  else f.centre = f.max == 0 ? f.min : 0;
  PrepareScale(f);
  ClampValues(f);
  if (f.trackLength >= static_cast<LONGLONG>(f.max) - f.min) f.state |= FADST_FINEMAPPING;
  else f.state &= ~FADST_FINEMAPPING;
  PlaceThumbs(f);
}

LONG PixelOf(const Fader& f, LONG value) {
  const LONG d = slider::ValueToDistance(ScaleOf(f), value, f.trackLength);
  return IsVertical(f) ? f.track.bottom - f.marginEnd - d : f.track.left + f.marginStart + d;
}

LONG Along(const Fader& f, POINT point) { return IsVertical(f) ? point.y : point.x; }

LONG ValueAt(const Fader& f, LONG along) {
  const LONG d = IsVertical(f) ? f.track.bottom - f.marginEnd - along : along - f.track.left - f.marginStart;
  return slider::DistanceToValue(ScaleOf(f), d, f.trackLength);
}

void PlaceThumbs(Fader& f) {
  const bool vertical = IsVertical(f);
  const RECT& c = f.control;
  const LONG across0 = vertical ? c.left : c.top, across1 = vertical ? c.right : c.bottom;
  LONG thickness = across1 - across0;
  for (int ch = 0; ch < 2; ++ch) {
    FaderThumb& t = f.thumbs[ch];
    if (ch >= f.channels) {
      SetRectEmpty(&t.rect);
      continue;
    }
    LONG from = across0, to = across1;
    if (IsStereo(f)) {
      const LONG first = (thickness + 1) / 2;
      if (ch == 0) to = across0 + first;
      else from = across0 + first;
    } else if (f.thumbBitmap && thickness > 13) {
      from = across0 + (thickness - 13) / 2;
      to = from + 13;
    }
    t.split = from + (to - from) / 2;
    t.pixel = PixelOf(f, f.values[ch]);
    const LONG start = t.pixel - f.thumbLength / 2, end = start + f.thumbLength;
    if (vertical) SetRect(&t.rect, from, start, to, end);
    else SetRect(&t.rect, start, from, end, to);
  }
}

void Layout(Fader& f) {
  const bool vertical = IsVertical(f);
  const bool imageList = f.images[0] != nullptr, bitmap = f.thumbBitmap != nullptr;
  if (bitmap) {
    BITMAP info{};
    GetObjectW(f.thumbBitmap, sizeof(info), &info);
    f.thumbLength = vertical ? info.bmHeight : info.bmWidth;
  } else if (imageList) {
    const LONG metric = f.imageMetrics[vertical ? 1 : 2];
    f.thumbLength = metric > 0 ? metric : 18;
  } else {
    f.thumbLength = (f.style & FADS_THUMBSIZE_MASK) == FADS_THUMB10 ? 10 : 20;
  }
  if (imageList || bitmap) {
    f.trackThickness = 3;
    f.endInset = 1;
  } else if ((f.style & FADS_TRACK_MASK) == FADS_TRACK_NARROW) {
    f.trackThickness = 10;
    f.endInset = 1;
  } else {
    f.trackThickness = 8;
    f.endInset = 2;
  }
  f.marginStart = f.marginEnd = f.endInset;

  RECT c = f.area;
  LONG& across0 = vertical ? c.left : c.top;
  LONG& across1 = vertical ? c.right : c.bottom;
  if (imageList) {
    int width = 0, height = 0;
    ImageList_GetIconSize(f.images[0], &width, &height);
    LONG wanted = vertical ? width : height;
    if (IsStereo(f)) wanted = wanted * 2 - 1;
    if (wanted > 0 && wanted < across1 - across0) {
      across0 += (across1 - across0 - wanted) / 2;
      across1 = across0 + wanted;
    }
  } else if (IsStereo(f) && !bitmap && (across1 - across0) % 2 == 0 && across1 > across0) {
    --across1;
  }
  f.control = c;
  const LONG thickness = across1 - across0;
  const LONG length = vertical ? c.bottom - c.top : c.right - c.left;
  const LONG needThickness = IsStereo(f) ? 14 : f.trackThickness;
  if (thickness < needThickness || length < 2 * f.thumbLength - 2 * f.endInset) f.state |= FADST_HIDDEN;
  else f.state &= ~FADST_HIDDEN;

  const LONG trackFrom = across0 + (thickness - f.trackThickness) / 2;
  const LONG start = (vertical ? c.top : c.left) + f.thumbLength / 2 - f.endInset;
  const LONG end = (vertical ? c.bottom : c.right) - (f.thumbLength - f.endInset - f.thumbLength / 2);
  if (vertical) SetRect(&f.track, trackFrom, start, trackFrom + f.trackThickness, end);
  else SetRect(&f.track, start, trackFrom, end, trackFrom + f.trackThickness);
  f.trackLength = length - f.thumbLength;
  if (f.trackLength < 0) f.trackLength = 0;
  if (f.trackLength >= static_cast<LONGLONG>(f.max) - f.min) f.state |= FADST_FINEMAPPING;
  else f.state &= ~FADST_FINEMAPPING;
  PlaceThumbs(f);
}

}  // namespace zq::controls

using namespace zq::controls;

ZQAPI ULONGLONG WINAPI FaderInst_GetMinSize(ZQFADERINST* inst, SIZE* size) noexcept {
  if (!inst) return 0;
  const Fader& f = *FaderOf(inst);
  const bool image = f.images[0] || f.thumbBitmap;
  const bool narrow = (f.style & FADS_TRACK_MASK) == FADS_TRACK_NARROW;
  LONG thumb = (f.style & FADS_THUMBSIZE_MASK) == FADS_THUMB10 ? 10 : 20;
  if (image) thumb = 18;
  const LONG inset = narrow ? 1 : 2;
  LONG thickness = image ? 3 : narrow ? 10 : 8;
  const LONG length = thumb + 2 * (thumb / 2 - inset);
  if (IsStereo(f) && thickness < 14) thickness = 14;
  SIZE result = IsVertical(f) ? SIZE{thickness, length} : SIZE{length, thickness};
  if (size) *size = result;
  return static_cast<ULONGLONG>(static_cast<DWORD>(result.cx)) |
         (static_cast<ULONGLONG>(static_cast<DWORD>(result.cy)) << 32);
}
