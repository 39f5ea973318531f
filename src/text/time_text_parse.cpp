// Text to nano time: the "Token" parsers of the display kinds.
#include <cmath>
#include <cwctype>

#include "text/smpte_internal.h"
#include "text/time_text_fields.h"
#include "text/time_text_internal.h"
#include "zq/number.h"

namespace zq::text::timetext {
namespace {

using namespace timefields;
using smpte::IsPositive;
using smpte::kNanoOutOfRange;
using smpte::kUnitsPerSecond;
using smpte::TruncToNano;

constexpr double kUnitsPerMinute = 600000000.0;
// The nano times a typed count may stand for: -2^62 .. 2^61.
constexpr double kLowestNano = -4611686018427387904.0;
constexpr double kHighestNano = 2305843009213693952.0;

struct Parsed {
  LONGLONG value;
  const WCHAR* end;
};

inline bool IsSpace(WCHAR c) { return c && iswspace(c); }

LONGLONG ToSigned(ULONGLONG x) { return x > static_cast<ULONGLONG>(LLONG_MAX) ? LLONG_MAX : static_cast<LONGLONG>(x); }

LONGLONG AddSigned(LONGLONG a, LONGLONG b) {
  LONGLONG r;
  if (!__builtin_add_overflow(a, b, &r)) return r;
  return b < 0 ? LLONG_MIN : LLONG_MAX;
}

LONGLONG MulSigned(LONGLONG a, LONGLONG b) {
  LONGLONG r;
  if (!__builtin_mul_overflow(a, b, &r)) return r;
  return (a < 0) != (b < 0) ? LLONG_MIN : LLONG_MAX;
}

// x in 0..2^63-1, or kNanoOutOfRange.
LONGLONG Checked(ULONGLONG x, bool overflow) {
  return overflow || x > static_cast<ULONGLONG>(LLONG_MAX) ? kNanoOutOfRange : static_cast<LONGLONG>(x);
}

// x scaled by `factor`, or kNanoOutOfRange.
LONGLONG Scaled(LONGLONG x, LONGLONG factor) {
  LONGLONG r;
  if (x == kNanoOutOfRange || __builtin_mul_overflow(x, factor, &r)) return kNanoOutOfRange;
  return r;
}

double Clamp(double x, double low, double high) { return x < low ? low : x > high ? high : x; }

// x truncated, where x is within floating error of a whole number that
// number: typed "1.235" seconds are 12,350,000 units, not one less.
LONGLONG TruncExact(double x) {
  const double nearest = std::nearbyint(x);
  if (std::fabs(x - nearest) <= std::fabs(x) * 1e-15) return TruncToNano(nearest);
  return TruncToNano(x);
}

// The first three digits of a fraction field as milliseconds.
ULONGLONG Milliseconds(const Field& field) {
  if (field.begin == field.end) return 0;  // the implied zero
  ULONGLONG ms = 0;
  for (int i = 0; i < 3; ++i) ms = ms * 10 + (i < field.digits ? field.begin[i] - L'0' : 0);
  return ms;
}

Parsed Millis(const WCHAR* text, bool shortForm) {
  const Fields f = Split(text, Rules{});
  ULONGLONG unit[3];  // hours, minutes, seconds
  ULONGLONG ms = 0;
  int used;
  if (shortForm) {
    used = RightAligned(f, 3, unit);
  } else if (f.count == 1 && f.item[0].begin == f.start) {  // whole seconds, nothing before them
    used = RightAligned(f, 3, unit);
  } else {
    used = f.count < 4 ? f.count : 4;
    if (used > 0) ms = Milliseconds(f.item[used - 1]);
    Fields whole = f;
    whole.count = used > 0 ? used - 1 : 0;
    RightAligned(whole, 3, unit);
  }
  bool overflow = false;
  ULONGLONG seconds = 0, t;
  overflow |= __builtin_mul_overflow(unit[0], 3600ull, &seconds);
  overflow |= __builtin_mul_overflow(unit[1], 60ull, &t);
  overflow |= __builtin_add_overflow(seconds, t, &seconds);
  overflow |= __builtin_add_overflow(seconds, unit[2], &seconds);
  overflow |= __builtin_mul_overflow(seconds, 1000ull, &t);
  overflow |= __builtin_add_overflow(t, ms, &t);
  return {Checked(t, overflow), EndAfter(f, used)};
}

Parsed Clock(const WCHAR* text, const ZQPOSFMT& format, bool shortForm) {
  const Fields f = Split(text, Rules{});
  ULONGLONG unit[4] = {0, 0, 0, 0};
  const int used = RightAligned(f, shortForm ? 3 : 4, unit);
  return {ClockToNanos(unit[0], unit[1], unit[2], unit[3], format.frameRate), EndAfter(f, used)};
}

Parsed FeetAndFrames(const WCHAR* text, const ZQPOSFMT& format, bool fortyPerFoot) {
  const Fields f = Split(text, LocaleGrouping(2));
  ULONGLONG unit[2];
  const int used = RightAligned(f, 2, unit);
  const ULONGLONG frames = AddSat(MulSat(unit[0], fortyPerFoot ? 40 : 16), unit[1]);
  LONGLONG value = 0;
  if (IsPositive(format.frameRate))
    value = TruncToNano(static_cast<double>(frames) / format.frameRate * kUnitsPerSecond + 0.5);
  return {value, EndAfter(f, used)};
}

Parsed Music(const WCHAR* text, const ZQPOSFMT& format, DWORD flags) {
  const int units = (flags & ZQPOS_SHORT) ? 2 : 3;
  const Fields f = Split(text, LocaleGrouping(units));
  ULONGLONG unit[3] = {0, 0, 0};
  const int used = RightAligned(f, units, unit);
  ULONGLONG measure = unit[0], beat = unit[1];
  const ULONGLONG tick = units == 3 ? unit[2] : 0;
  if (format.kind == ZQPOS_MBT && !(flags & ZQPOS_LENGTH)) {
    if (measure > 0) --measure;
    if (beat > 0) --beat;
  }
  LONGLONG value = 0;
  if (IsPositive(format.tempo)) {
    double quarters = static_cast<double>(measure) * format.beatsPerMeasure + static_cast<double>(beat);
    if (format.ticksPerQuarter > 0) quarters += static_cast<double>(tick) / format.ticksPerQuarter;
    value = TruncToNano(quarters / format.tempo * kUnitsPerMinute);
  }
  return {value, EndAfter(f, used)};
}

// Beats at `tempo`: the first unit that shows as the typed beats (the
// display truncates them).
LONGLONG Beats(const WCHAR* text, double tempo, const WCHAR** end) {
  const double beats = ZqTextToDoubleToken(text, end, TRUE);
  if (!IsPositive(tempo)) return 0;
  const double c = Clamp(beats, kLowestNano * tempo / kUnitsPerMinute, kHighestNano * tempo / kUnitsPerMinute);
  const double units = c / tempo * kUnitsPerMinute;
  const double nearest = std::nearbyint(units);
  LONGLONG n = TruncToNano(std::fabs(units - nearest) <= std::fabs(units) * 1e-15 ? nearest : std::ceil(units));
  if (n != kNanoOutOfRange && n < LLONG_MAX && static_cast<double>(n) * tempo / kUnitsPerMinute < c) ++n;
  return n;
}

struct MusicParts {
  LONGLONG measures, beats, ticks, total;
};

MusicParts MeasuresBeatsTicks(const WCHAR* text, const ZQPOSFMT& format, DWORD counting, LONG tickUnit) {
  MusicParts r{0, 0, 0, 0};
  if (!text) return r;
  while (IsSpace(*text)) ++text;
  const bool negative = *text == L'-';
  if (negative) ++text;
  const Fields f = Split(text, Rules{});
  if (f.count > 0) r.measures = ToSigned(f.item[0].value);
  if (f.count > 1) r.beats = ToSigned(f.item[1].value);
  if (f.count > 2) r.ticks = ToSigned(f.item[2].value);
  if (negative) r.measures = -r.measures;
  if (counting == ZQPOS_COUNT_FROM_ONE) {
    if (r.measures > 0) --r.measures;
    if (r.beats > 0) --r.beats;
  }
  const LONGLONG beats = AddSigned(MulSigned(r.measures, format.beatsPerMeasure), r.beats);
  r.total = AddSigned(MulSigned(beats, format.ticksPerQuarter > 0 ? format.ticksPerQuarter : 0),
                      MulSigned(r.ticks, tickUnit));
  return r;
}

Parsed Smpte(const WCHAR* text, DWORD type, int units, ZQSMPTEVAL& label) {
  label = ZQSMPTEVAL{};
  label.type = type;
  const WCHAR* end = smpte::ParseText(text, label, units);
  return {0, end};
}

// The kind's value of the text after the sign; `end` is left alone by the
// kinds whose parser reports no position.
LONGLONG ByKind(const WCHAR* p, const ZQPOSFMT& format, DWORD flags, const WCHAR** end) {
  const bool shortForm = flags & ZQPOS_SHORT;
  Parsed r{0, *end};
  switch (format.kind) {
    case ZQPOS_SAMPLES: {
      const LONGLONG samples = ZqTextToLongLongToken(p, &r.end);
      if (format.sampleRate > 0) {
        const double rate = format.sampleRate;
        const double s = Clamp(static_cast<double>(samples), kLowestNano * rate * 1e-7, kHighestNano * rate * 1e-7);
        r.value = TruncToNano(s / rate * kUnitsPerSecond + 0.5);
      }
      break;
    }
    case ZQPOS_HMS_MILLIS:
      r = Millis(p, shortForm);
      r.value = Scaled(r.value, 10000);
      break;
    case ZQPOS_SECONDS: {
      const double seconds = ZqTextToDoubleToken(p, &r.end, TRUE);
      r.value = TruncExact(Clamp(seconds, -461168601842.0, 230584300921.0) * kUnitsPerSecond);
      break;
    }
    case ZQPOS_HMS_FRAMES:
      r = Clock(p, format, shortForm);
      break;
    case ZQPOS_FRAMES: {
      const double frames = ZqTextToDoubleToken(p, &r.end, TRUE);
      const double rate = format.frameRate;
      if (IsPositive(rate)) {
        const double c = Clamp(frames, kLowestNano * rate * 1e-7, kHighestNano * rate * 1e-7);
        r.value = TruncToNano(c / rate * kUnitsPerSecond + 0.5);
      }
      break;
    }
    case ZQPOS_BEATS:
      r.value = Beats(p, format.tempo, &r.end);
      break;
    case ZQPOS_MBT:
    case ZQPOS_MBT_ZERO:
      r = Music(p, format, flags);
      break;
    case ZQPOS_NANOS:
      r.value = ZqTextToLongLongToken(p, &r.end);
      break;
    case ZQPOS_MICROSECONDS:
      r.value = Scaled(ZqTextToLongLongToken(p, &r.end), 10);
      break;
    case ZQPOS_FEET_FRAMES_35:
    case ZQPOS_FEET_FRAMES_16:
      r = FeetAndFrames(p, format, format.kind == ZQPOS_FEET_FRAMES_35);
      break;
    case ZQPOS_CD: {
      // The short form shows hours, minutes and seconds only.
      ZQSMPTEVAL label;
      r = Smpte(p, ZQSMPTE_TYPE_NONE, shortForm ? 3 : 4, label);
      r.value = ClockToNanos(label.hours, label.minutes, label.seconds, label.frames, 75.0);
      break;
    }
    default:
      if (DWORD type = SmpteTypeOf(format.kind)) {
        ZQSMPTEVAL label;
        r = Smpte(p, type, 4, label);
        r.value = smpte::ToNanos(label);
      }
      break;
  }
  *end = r.end;
  return r.value;
}

LONGLONG NanoTimeToken(const WCHAR* text, const ZQPOSFMT* format, LONGLONG defaultValue, LONGLONG minimum,
                       LONGLONG maximum, DWORD flags, const WCHAR** endOut) {
  const WCHAR* end = text;
  LONGLONG value = defaultValue;
  if (text && format) {
    const WCHAR* p = text;
    while (IsSpace(*p)) ++p;
    const bool negative = *p == L'-';
    if (negative) ++p;
    end = p;
    while (*end) ++end;  // the kind's parser may move it back
    const WCHAR* rest = p;
    while (IsSpace(*rest)) ++rest;
    if (*rest) {
      value = ByKind(p, *format, flags, &end);
      if (negative && value != kNanoOutOfRange) value = -value;
      if ((flags & ZQPOS_CLAMP) && value == 0 && *end && !IsSpace(*end)) value = defaultValue;
    }
    if (!(flags & ZQPOS_LENGTH) && value != kNanoOutOfRange &&
        __builtin_add_overflow(value, format->origin, &value))
      value = kNanoOutOfRange;
  }
  if (flags & ZQPOS_CLAMP) {
    if (value < minimum) value = minimum;
    else if (value > maximum) value = maximum;
  }
  if (endOut) *endOut = end;
  return value;
}

}  // namespace
}  // namespace zq::text::timetext

using namespace zq::text::timetext;

ZQAPI LONGLONG WINAPI ZqTextToNanoTimeToken2(LPCWSTR text, const ZQPOSFMT* format, LONGLONG defaultValue,
                                             LONGLONG minimum, LONGLONG maximum, DWORD flags, LPCWSTR* end) noexcept {
  return NanoTimeToken(text, format, defaultValue, minimum, maximum, flags, end);
}

ZQAPI LONGLONG WINAPI ZqTextToNanoTimeToken(LPCWSTR text, const ZQPOSFMT* format, BOOL shortForm,
                                            LPCWSTR* end) noexcept {
  return NanoTimeToken(text, format, 0, 0, 0, shortForm ? ZQPOS_SHORT : 0, end);
}

ZQAPI LONGLONG WINAPI ZqTextToNanoTimeTokenEx(LPCWSTR text, const ZQPOSFMT* format, BOOL shortForm,
                                              LONGLONG defaultValue, LONGLONG minimum, LONGLONG maximum,
                                              LPCWSTR* end) noexcept {
  return NanoTimeToken(text, format, defaultValue, minimum, maximum, (shortForm ? ZQPOS_SHORT : 0) | ZQPOS_CLAMP,
                       end);
}

ZQAPI LONGLONG WINAPI ZqTextToTimeToken(LPCWSTR text, const ZQPOSFMT*, BOOL shortForm, LPCWSTR* end) noexcept {
  const auto r = Millis(text, shortForm != 0);
  if (end) *end = r.end;
  return r.value;
}

ZQAPI LONGLONG WINAPI ZqTextToHMSFToken(LPCWSTR text, const ZQPOSFMT* format, BOOL shortForm, LPCWSTR* end) noexcept {
  static const ZQPOSFMT kNoRate{};
  const auto r = Clock(text, format ? *format : kNoRate, shortForm != 0);
  if (end) *end = r.end;
  return r.value;
}

ZQAPI LONGLONG WINAPI ZqTextToFeetAndFramesToken(LPCWSTR text, const ZQPOSFMT* format, BOOL fortyPerFoot) noexcept {
  return format ? FeetAndFrames(text, *format, fortyPerFoot != 0).value : 0;
}

ZQAPI LONGLONG WINAPI ZqTextToMusicTimeToken(LPCWSTR text, const ZQPOSFMT* format, DWORD flags, LPCWSTR* end) noexcept {
  static const ZQPOSFMT kNoTempo{};
  const auto r = Music(text, format ? *format : kNoTempo, flags);
  if (end) *end = r.end;
  return r.value;
}

ZQAPI LONGLONG WINAPI ZqTextToMeasuresBeatsTicks(LPCWSTR text, const ZQPOSFMT* format, DWORD counting, LONG tickUnit,
                                                 LONGLONG* measures, LONGLONG* beats, LONGLONG* ticks) noexcept {
  static const ZQPOSFMT kNone{};
  const auto r = MeasuresBeatsTicks(text, format ? *format : kNone, counting, tickUnit);
  if (measures) *measures = r.measures;
  if (beats) *beats = r.beats;
  if (ticks) *ticks = r.ticks;
  return r.total;
}

ZQAPI LONGLONG WINAPI ZqTextToTicks(LPCWSTR text, const ZQPOSFMT* format, DWORD counting, LONG tickUnit) noexcept {
  return ZqTextToMeasuresBeatsTicks(text, format, counting, tickUnit, nullptr, nullptr, nullptr);
}
