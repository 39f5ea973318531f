// Nano time to text in the display kinds of a position format; clock
// splitting, measures and ticks.
#include <cmath>
#include <cwchar>
#include <type_traits>

#include "text/printer.h"
#include "text/smpte_internal.h"
#include "text/time_text_fields_writer.h"
#include "text/time_text_internal.h"

namespace zq::text::timetext {
namespace {

using smpte::FloorDiv;
using smpte::FloorMod;
using smpte::IsPositive;
using smpte::TruncToLong;
using smpte::kUnitsPerSecond;

struct KindFormat {
  const WCHAR* full;
  const WCHAR* brief;
};

constexpr const WCHAR* kClockSmpte = L"%02u:%02u:%02u:%02u";
constexpr const WCHAR* kRaw = L"$I64d";

constexpr KindFormat kFormats[] = {
    {kRaw, kRaw},                                                  // 0 samples
    {L"%02u$:%02u$:%02u$*%03u", L"%02u$:%02u$:%02u"},              // 1 h:m:s.ms
    {L"$.3f", L"$.0f"},                                            // 2 seconds
    {L"%02u$:%02u$:%02u$*%02u", L"%02u$:%02u$:%02u"},              // 3 h:m:s.frames
    {L"$.3f", L"$.0f"},                                            // 4 frames
    {L"$u$&:%u$&.%03u", L"$u$&:%u"},                               // 5 measures from 1
    {kClockSmpte, kClockSmpte},                                    // 6 SMPTE 29.97
    {kClockSmpte, kClockSmpte},                                    // 7 SMPTE 30
    {L"%02u:%02u:%02u;%02u", L"%02u:%02u:%02u;%02u"},              // 8 SMPTE 29.97 drop
    {kClockSmpte, kClockSmpte},                                    // 9 SMPTE 25
    {kClockSmpte, kClockSmpte},                                    // 10 SMPTE 24
    {kRaw, kRaw},                                                  // 11 raw units
    {kRaw, kRaw},                                                  // 12 microseconds
    {L"$u$&:%u$&.%03u", L"$u$&:%u"},                               // 13 measures from 0
    {L"$.3f", L"$.0f"},                                            // 14 beats
    {L"$I64d+$I64d", L"$I64d+$I64d"},                              // 15 feet, 40 frames
    {L"$I64d+$I64d", L"$I64d+$I64d"},                              // 16 feet, 16 frames
    {kClockSmpte, L"%02u$:%02u$:%02u"},                            // 17 CD time
    {kClockSmpte, kClockSmpte},                                    // 18 SMPTE 23.976
};
constexpr DWORD kKinds = sizeof(kFormats) / sizeof(kFormats[0]);

// SMPTE types of kinds 6-10 and 18.
constexpr DWORD kSmpteTypes[kKinds] = {0, 0, 0, 0, 0, 0, ZQSMPTE_TYPE_2997, ZQSMPTE_TYPE_30,
                                       ZQSMPTE_TYPE_2997_DROP, ZQSMPTE_TYPE_25, ZQSMPTE_TYPE_24,
                                       0, 0, 0, 0, 0, 0, 0, ZQSMPTE_TYPE_23976};

constexpr double kUnitsPerMinute = 600000000.0;

// x truncated toward zero and held in 64 bits (NaN gives 0).
LONGLONG TruncSat(double x) {
  LONG small;
  if (TruncToLong(x, small)) return small;
  if (x != x) return 0;
  if (x >= 9223372036854775807.0) return LLONG_MAX;
  if (x <= -9223372036854775808.0) return LLONG_MIN;
  return static_cast<LONGLONG>(x);
}

// trunc(x), given `whole` = TruncSat(x): the integer is exact wherever it
// did not saturate, which saves the library call.
double WholePart(double x, LONGLONG whole) {
  if (whole >= LONG_MIN && whole <= LONG_MAX) return static_cast<LONG>(whole);
  return whole > LLONG_MIN && whole < LLONG_MAX ? static_cast<double>(whole) : std::trunc(x);
}

DWORD ToDWord(LONGLONG x) { return x < 0 ? 0 : x > 0xFFFFFFFFll ? 0xFFFFFFFFu : static_cast<DWORD>(x); }
LONG ToLong(LONGLONG x) { return x < LONG_MIN ? LONG_MIN : x > LONG_MAX ? LONG_MAX : static_cast<LONG>(x); }

// The format string and the values of one kind. The table's own formats
// are written straight from integer fields; a caller's format goes through
// the printer and may read more values than the kind passes: zeros follow
// them.
class Body {
 public:
  Body(WCHAR* out, int capacity, const WCHAR* format, bool tableFormat)
      : out_(out), capacity_(capacity), format_(format), table_(tableFormat) {}

  template <typename... Args>
  int Print(Args... args) const {
    if constexpr ((std::is_integral_v<Args> && ...)) {
      if (table_) {
        const LONGLONG values[] = {static_cast<LONGLONG>(args)...};
        const int n = WriteTableFields(out_, capacity_, format_, values, static_cast<int>(sizeof...(Args)));
        if (n >= 0) return n;
      }
    }
    return PrintBounded(out_, capacity_, format_, args..., 0, 0, 0, 0, 0, 0, 0, 0);
  }
  template <typename... Args>
  int PrintWith(const WCHAR* format, Args... args) const {
    return PrintBounded(out_, capacity_, format, args..., 0, 0, 0, 0, 0, 0, 0, 0);
  }
  int Clock(const ZQSMPTEVAL& v) const { return Print(v.hours, v.minutes, v.seconds, v.frames); }
  // "$.0f" shows a truncated count; any other format the double.
  int Count(double value, LONGLONG whole) const {
    if (wcscmp(format_, L"$.0f") == 0) return PrintWith(kRaw, whole);
    return Print(value);
  }

 private:
  WCHAR* out_;
  int capacity_;
  const WCHAR* format_;
  bool table_;
};

// `v` is not negative.
int Show(const Body& body, const ZQPOSFMT& f, LONGLONG v, DWORD flags) {
  const DWORD kind = f.kind;
  // Seconds of the kinds that show or count in them.
  auto seconds = [v] { return static_cast<double>(v) * 1e-7; };
  switch (kind) {
    case ZQPOS_SAMPLES: {
      const double rate = f.sampleRate > 0 ? f.sampleRate : 0.0;
      return body.Print(TruncSat(static_cast<double>(v) * rate * 1e-7 + 0.5));
    }
    case ZQPOS_HMS_MILLIS:
    case ZQPOS_HMS_FRAMES:
    case ZQPOS_CD: {
      ZQSMPTEVAL clock{};
      SplitClock(v, kind == ZQPOS_HMS_MILLIS ? 1000.0 : kind == ZQPOS_CD ? 75.0 : f.frameRate, clock);
      return body.Clock(clock);
    }
    case ZQPOS_SECONDS:
      return body.Count(seconds(), v / 10000000);
    case ZQPOS_FRAMES: {
      const double frames = IsPositive(f.frameRate) ? seconds() * f.frameRate + 0.00001 : 0.0;
      return body.Count(frames, TruncSat(std::floor(frames)));
    }
    case ZQPOS_MBT:
    case ZQPOS_MBT_ZERO: {
      MusicTime t = Measures(v, f);
      if (kind == ZQPOS_MBT && !(flags & ZQPOS_LENGTH)) {
        ++t.measures;
        ++t.beats;
      }
      return body.Print(ToDWord(t.measures), ToDWord(t.beats), ToDWord(t.ticks));
    }
    case ZQPOS_MICROSECONDS:
      return body.Print(static_cast<LONGLONG>((static_cast<ULONGLONG>(v) + 5) / 10));
    case ZQPOS_BEATS: {
      const double beats = IsPositive(f.tempo) ? static_cast<double>(v) * f.tempo / kUnitsPerMinute : 0.0;
      return body.Count(beats, TruncSat(beats));
    }
    case ZQPOS_FEET_FRAMES_35:
    case ZQPOS_FEET_FRAMES_16: {
      const LONGLONG perFoot = kind == ZQPOS_FEET_FRAMES_35 ? 40 : 16;
      const LONGLONG frames = IsPositive(f.frameRate) ? TruncSat(seconds() * f.frameRate + 0.00001) : 0;
      if (frames >= 0 && frames <= 0xFFFFFFFFll) {
        const DWORD small = static_cast<DWORD>(frames), foot = static_cast<DWORD>(perFoot);
        return body.Print(static_cast<LONGLONG>(small / foot), static_cast<LONGLONG>(small % foot));
      }
      return body.Print(frames / perFoot, frames % perFoot);
    }
    default:
      if (DWORD type = SmpteTypeOf(kind)) {
        ZQSMPTEVAL label{};
        label.type = type;
        smpte::FromNanos(v, label);
        return body.Clock(label);
      }
      return body.Print(v);  // raw units, and kinds this library does not know
  }
}

// Kinds that show the nano time itself ("default" in Show).
bool ShowsRawUnits(DWORD kind) {
  return kind == ZQPOS_NANOS || kind >= kKinds;
}

}  // namespace

const WCHAR* FormatOf(DWORD kind, bool shortForm) noexcept {
  if (kind >= kKinds) return kRaw;
  return shortForm ? kFormats[kind].brief : kFormats[kind].full;
}

DWORD SmpteTypeOf(DWORD kind) noexcept { return kind < kKinds ? kSmpteTypes[kind] : 0; }

int NanoTimeToText(WCHAR* out, int capacity, const ZQPOSFMT& format, LONGLONG nanos, const WCHAR* text,
                   DWORD flags) noexcept {
  if (!out || capacity <= 0) return 0;
  out[0] = 0;
  LONGLONG v = nanos;
  if (!(flags & ZQPOS_LENGTH) && __builtin_sub_overflow(nanos, format.origin, &v))
    v = nanos < 0 ? LLONG_MIN : LLONG_MAX;
  const WCHAR* formatText = text ? text : FormatOf(format.kind, flags & ZQPOS_SHORT);
  const bool table = !text;
  if (v >= 0) return Show(Body(out, capacity, formatText, table), format, v, flags);
  // Raw units show the value itself: its magnitude does not fit 64 bits
  // for the most negative one, which the format's own sign prints exactly.
  if (v == LLONG_MIN && ShowsRawUnits(format.kind)) return Body(out, capacity, formatText, table).Print(v);
  if (capacity < 2) return 0;
  const LONGLONG magnitude = v == LLONG_MIN ? LLONG_MAX : -v;
  // A negative time too small to show anything but the zero position is
  // shown as that position, without a sign. Both texts are made aside
  // first, so that nothing is written past the text returned.
  const int room = capacity < ZQPOS_FORMAT_CAPACITY ? capacity : ZQPOS_FORMAT_CAPACITY;
  WCHAR shown[ZQPOS_FORMAT_CAPACITY], zero[ZQPOS_FORMAT_CAPACITY];
  const int length = Show(Body(shown, room, formatText, table), format, magnitude, flags);
  const int zeroLength = Show(Body(zero, room, formatText, table), format, 0, flags);
  if (zeroLength == length && wmemcmp(zero, shown, length) == 0) {
    wmemcpy(out, shown, length + 1);
    return length;
  }
  out[0] = L'-';
  return Show(Body(out + 1, capacity - 1, formatText, table), format, magnitude, flags) + 1;
}

void SplitClock(LONGLONG nanos, double rate, ZQSMPTEVAL& value) noexcept {
  const LONGLONG unitsPerSecond = 10000000;
  LONGLONG whole;
  double fraction;
  DWORD seconds, units;
  if (smpte::SplitSeconds(nanos, seconds, units)) {
    whole = seconds;
    fraction = static_cast<double>(units) * 1e-7;
  } else {
    whole = FloorDiv(nanos, unitsPerSecond);
    fraction = static_cast<double>(FloorMod(nanos, unitsPerSecond)) * 1e-7;
  }
  const bool hasRate = IsPositive(rate);
  if (hasRate && rate > 0.01) fraction += 0.5 / rate;  // frames round to nearest
  if (fraction >= 1.0) {
    const double carry = std::floor(fraction);
    whole += static_cast<LONG>(carry);  // below 52: the rounding adds at most 50
    fraction -= carry;
  }
  // `fraction` is in [0, 1) here, so the frames are not negative.
  value.frames = 0;
  if (hasRate) {
    const double frames = rate * fraction;
    LONG count;
    if (TruncToLong(frames, count)) value.frames = static_cast<DWORD>(count);
    else value.frames = frames >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<DWORD>(std::floor(frames));
  }
  const DWORD inDay = whole >= 0 && whole <= 0xFFFFFFFFll ? static_cast<DWORD>(whole) % 86400
                                                          : static_cast<DWORD>(FloorMod(whole, 86400));
  value.hours = inDay / 3600;
  value.minutes = inDay % 3600 / 60;
  value.seconds = inDay % 60;
}

LONGLONG ClockToNanos(ULONGLONG hours, ULONGLONG minutes, ULONGLONG seconds, ULONGLONG frames,
                      double rate) noexcept {
  ULONGLONG whole, t;
  if (__builtin_mul_overflow(hours, 3600ull, &whole) || __builtin_mul_overflow(minutes, 60ull, &t) ||
      __builtin_add_overflow(whole, t, &whole) || __builtin_add_overflow(whole, seconds, &whole))
    return smpte::kNanoOutOfRange;
  LONGLONG base;
  if (whole > static_cast<ULONGLONG>(LLONG_MAX) ||
      __builtin_mul_overflow(static_cast<LONGLONG>(whole), 10000000ll, &base))
    return smpte::kNanoOutOfRange;
  const double part = IsPositive(rate) ? static_cast<double>(frames) / rate * kUnitsPerSecond : 0.0;
  const LONGLONG extra = smpte::TruncToNano(part + 0.5);
  LONGLONG result;
  if (extra == smpte::kNanoOutOfRange || __builtin_add_overflow(base, extra, &result)) return smpte::kNanoOutOfRange;
  return result;
}

MusicTime Measures(LONGLONG nanos, const ZQPOSFMT& f) noexcept {
  MusicTime t{0, 0, 0};
  if (!IsPositive(f.tempo) || f.beatsPerMeasure == 0) return t;
  // A small bias against floating error, kept below half a tick so that it
  // never moves a position onto the next tick at fine resolutions.
  const double parts = static_cast<double>(f.beatsPerMeasure) * (f.ticksPerQuarter > 0 ? f.ticksPerQuarter : 1);
  const double half = 0.5 / parts;
  const double bias = half < 0.00005 ? half : 0.00005;
  const double m = static_cast<double>(nanos) * f.tempo / f.beatsPerMeasure / kUnitsPerMinute + bias;
  t.measures = TruncSat(m);
  const double beats = (m - WholePart(m, t.measures)) * f.beatsPerMeasure;
  t.beats = TruncSat(beats);
  if (f.ticksPerQuarter > 0) t.ticks = TruncSat((beats - WholePart(beats, t.beats)) * f.ticksPerQuarter);
  return t;
}

int MeasuresAndTicksToText(WCHAR* out, int capacity, const ZQPOSFMT& f, LONGLONG measure, LONGLONG ticks,
                           DWORD counting, bool shortForm, LONG tickDivisor) noexcept {
  const LONGLONG quarter = f.ticksPerQuarter > 0 ? f.ticksPerQuarter : 0;
  const LONGLONG perBeat = quarter * 4 / (f.beatUnit ? f.beatUnit : 4);
  LONGLONG beat = 0, tick = 0;
  if (perBeat > 0) {
    if (f.beatsPerMeasure) beat = FloorMod(FloorDiv(ticks, perBeat), f.beatsPerMeasure);
    tick = FloorMod(ticks, perBeat) / (tickDivisor > 0 ? tickDivisor : 1);
  }
  if (counting == ZQPOS_COUNT_FROM_ONE) {
    ++beat;
    if (measure >= 0 && measure < LLONG_MAX) ++measure;
  }
  if (shortForm) return PrintBounded(out, capacity, L"%d$&:%1u", ToLong(measure), ToDWord(beat));
  return PrintBounded(out, capacity, L"%d$&:%u$&.%03u", ToLong(measure), ToDWord(beat), ToDWord(tick));
}

int TicksToText(WCHAR* out, int capacity, const ZQPOSFMT& f, LONGLONG ticks, DWORD counting, bool shortForm,
                LONG tickDivisor) noexcept {
  const LONGLONG perMeasure = static_cast<LONGLONG>(f.beatsPerMeasure) * (f.ticksPerQuarter > 0 ? f.ticksPerQuarter : 0);
  LONGLONG measure = 0, rest = ticks;
  if (perMeasure > 0) {
    measure = FloorDiv(ticks, perMeasure);
    rest = FloorMod(ticks, perMeasure);
  }
  return MeasuresAndTicksToText(out, capacity, f, measure, rest, counting, shortForm, tickDivisor);
}

}  // namespace zq::text::timetext

using namespace zq::text::timetext;

namespace {

int Empty(LPWSTR buffer) {
  if (buffer) buffer[0] = 0;
  return 0;
}

}  // namespace

ZQAPI int WINAPI ZqNanoTimeToText(LPWSTR buffer, const ZQPOSFMT* format, LONGLONG nanos, BOOL shortForm) noexcept {
  if (!format) return Empty(buffer);
  return NanoTimeToText(buffer, ZQPOS_TEXT_CAPACITY, *format, nanos, nullptr, shortForm ? ZQPOS_SHORT : 0);
}

ZQAPI int WINAPI ZqNanoTimeToTextEx(LPWSTR buffer, const ZQPOSFMT* format, LONGLONG nanos, DWORD flags) noexcept {
  if (!format) return Empty(buffer);
  return NanoTimeToText(buffer, ZQPOS_TEXT_CAPACITY, *format, nanos, nullptr, flags);
}

ZQAPI int WINAPI ZqNanoTimeToTextFormat(LPWSTR buffer, const ZQPOSFMT* format, LONGLONG nanos, LPCWSTR text,
                                        DWORD flags) noexcept {
  if (!format) return Empty(buffer);
  return NanoTimeToText(buffer, ZQPOS_FORMAT_CAPACITY, *format, nanos, text, flags);
}

ZQAPI void WINAPI ZqNanoTimeToHMSF(LONGLONG nanos, ZQSMPTEVAL* value, double rate) noexcept {
  if (!value) return;
  if (zq::text::smpte::RateOf(value->type).known) zq::text::smpte::FromNanos(nanos, *value);
  else SplitClock(nanos, rate, *value);
}

ZQAPI LONGLONG WINAPI ZqHMSFToNanoTime(const ZQSMPTEVAL* value, double rate) noexcept {
  if (!value) return 0;
  if (zq::text::smpte::RateOf(value->type).known) return zq::text::smpte::ToNanos(*value);
  return ClockToNanos(value->hours, value->minutes, value->seconds, value->frames, rate);
}

ZQAPI LONGLONG WINAPI ZqNanoTimeToMeasures(LONGLONG nanos, const ZQPOSFMT* format, LONGLONG* measures,
                                           LONGLONG* beats, LONGLONG* ticks) noexcept {
  MusicTime t{0, 0, 0};
  if (format) t = Measures(nanos, *format);
  if (measures) *measures = t.measures;
  if (beats) *beats = t.beats;
  if (ticks) *ticks = t.ticks;
  return t.ticks;
}

ZQAPI int WINAPI ZqMeasuresAndTicksToText(LPWSTR buffer, const ZQPOSFMT* format, LONGLONG measure, LONGLONG ticks,
                                          DWORD counting, BOOL shortForm, LONG tickDivisor) noexcept {
  if (!format) return Empty(buffer);
  return MeasuresAndTicksToText(buffer, ZQPOS_TEXT_CAPACITY, *format, measure, ticks, counting, shortForm != 0,
                                tickDivisor);
}

ZQAPI int WINAPI ZqTicksToText(LPWSTR buffer, const ZQPOSFMT* format, LONGLONG ticks, DWORD counting,
                               BOOL shortForm, LONG tickDivisor) noexcept {
  if (!format) return Empty(buffer);
  return TicksToText(buffer, ZQPOS_TEXT_CAPACITY, *format, ticks, counting, shortForm != 0, tickDivisor);
}
