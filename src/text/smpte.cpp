// Time code: labels, frame counts, nano time, arithmetic and frame steps.
#include <cmath>

#include "text/smpte_internal.h"

namespace zq::text::smpte {
namespace {

// Indexed by type; the last row serves type 0 and unknown types.
constexpr Rate kRates[] = {
    {30, 30.0, kDropFrameDay, true, false},                // 0: no rate
    {30, 30.0, 2592000, false, true},                      // 1: 30
    {30, 30000.0 / 1001.0, kDropFrameDay, true, true},     // 2: 29.97 drop-frame
    {25, 25.0, 2160000, false, true},                      // 3: 25
    {24, 24.0, 2073600, false, true},                      // 4: 24
    {30, 30000.0 / 1001.0, 2592000, false, true},          // 5: 29.97 non-drop
    {24, 24000.0 / 1001.0, 2073600, false, true},          // 6: 23.976
};

// Drop-frame numbers: a ten-minute block holds 17,982 labels, its first
// minute 1,800 and the nine others 1,798 each (labels 00 and 01 dropped).
constexpr DWORD kDropBlock = 17982;
constexpr DWORD kDropMinute = 1798;

bool IsDroppedLabel(const ZQSMPTEVAL& v) noexcept {
  return v.frames < 2 && v.seconds == 0 && v.minutes % 10 != 0;
}

void SplitNonDrop(ZQSMPTEVAL& v, DWORD count, DWORD rate) noexcept {
  const DWORD perHour = rate * 3600, perMinute = rate * 60;
  v.hours = count / perHour;
  const DWORD inHour = count % perHour;
  v.minutes = inHour / perMinute;
  const DWORD inMinute = inHour % perMinute;
  v.seconds = inMinute / rate;
  v.frames = inMinute % rate;
}

// The label of frame `c` of the day. Each label rate is split by its own
// constant, so that the divisions become multiplications.
void Label(ZQSMPTEVAL& value, const Rate& rate, DWORD c) noexcept {
  if (rate.drop) {
    // The nominal 30-frame count: add back the labels dropped before it.
    const DWORD blocks = c / kDropBlock, inBlock = c % kDropBlock;
    c += 18 * blocks + (inBlock >= 2 ? 2 * ((inBlock - 2) / kDropMinute) : 0);
    SplitNonDrop(value, c, 30);
    if (value.type == ZQSMPTE_TYPE_2997_DROP && IsDroppedLabel(value)) value.frames = 2;
    return;
  }
  switch (rate.label) {
    case 30: return SplitNonDrop(value, c, 30);
    case 25: return SplitNonDrop(value, c, 25);
    case 24: return SplitNonDrop(value, c, 24);
    default: return SplitNonDrop(value, c, rate.label);
  }
}

}  // namespace

const Rate& RateOf(DWORD type) noexcept { return type < 7 ? kRates[type] : kRates[0]; }

void FromFrameCount(ZQSMPTEVAL& value, LONGLONG count) noexcept {
  const Rate& rate = RateOf(value.type);
  Label(value, rate, static_cast<DWORD>(FloorMod(count, rate.dayFrames)));
}

DWORD ToFrameCount(const ZQSMPTEVAL& v) noexcept {
  const Rate& rate = RateOf(v.type);
  if (!rate.known) return 0;
  // Unsigned 32-bit arithmetic: labels outside the day wrap.
  const DWORD frames = (rate.drop && IsDroppedLabel(v)) ? 2 : v.frames;
  DWORD count = rate.label * (v.hours * 3600 + v.minutes * 60 + v.seconds) + frames;
  if (rate.drop) count -= v.hours * 108 + (v.minutes - v.minutes / 10) * 2;
  return count;
}

void FromNanos(LONGLONG nanos, ZQSMPTEVAL& value) noexcept {
  const Rate& rate = RateOf(value.type);
  // Nano time holds at most about 2.8e13 frames: exact in a double and in
  // 64 bits, so no wrap happens before the reduction into the day.
  const double frames = rate.real * static_cast<double>(nanos) * 1e-7 + 0.000005;
  // A count from 0 to 2^31 is its own floor and is reduced in 32 bits.
  LONG count;
  if (frames >= 0.0 && TruncToLong(frames, count))
    return Label(value, rate, static_cast<DWORD>(count) % rate.dayFrames);
  FromFrameCount(value, static_cast<LONGLONG>(std::floor(frames)));
}

LONGLONG ToNanos(const ZQSMPTEVAL& value) noexcept {
  const Rate& rate = RateOf(value.type);
  if (!rate.known) return 0;
  return static_cast<LONGLONG>(ToFrameCount(value) / rate.real * kUnitsPerSecond + 0.999);
}

}  // namespace zq::text::smpte

using namespace zq::text::smpte;

namespace {

// Counts of a and b: the sum or difference wrapped into the day of a's type.
void Combine(ZQSMPTEVAL* a, const ZQSMPTEVAL* b, int sign) noexcept {
  const Rate& rate = RateOf(a->type);
  LONGLONG count = static_cast<LONGLONG>(ToFrameCount(*a)) + sign * static_cast<LONGLONG>(ToFrameCount(*b));
  if (sign < 0 && !rate.known) count = 0;
  FromFrameCount(*a, count);
}

int Order(DWORD a, DWORD b) noexcept { return a < b ? -1 : a > b ? 1 : 0; }

// Fields above their maximum are read as that maximum before a step back.
void ClampFields(ZQSMPTEVAL& v, DWORD labelRate) noexcept {
  if (v.hours > 23) v.hours = 23;
  if (v.minutes > 59) v.minutes = 59;
  if (v.seconds > 59) v.seconds = 59;
  if (v.frames >= labelRate) v.frames = labelRate - 1;
}

}  // namespace

ZQAPI void WINAPI ZQSMPTE_FrameCountToSMPTE(ZQSMPTEVAL* value, DWORD count) noexcept {
  if (value) FromFrameCount(*value, count);
}

ZQAPI DWORD WINAPI ZQSMPTE_SMPTEToFrameCount(const ZQSMPTEVAL* value) noexcept {
  return value ? ToFrameCount(*value) : 0;
}

ZQAPI ZQSMPTEVAL* WINAPI ZQSMPTE_AddSMPTE(ZQSMPTEVAL* a, const ZQSMPTEVAL* b) noexcept {
  if (a && b) Combine(a, b, 1);
  return a;
}

ZQAPI ZQSMPTEVAL* WINAPI ZQSMPTE_SubtractSMPTE(ZQSMPTEVAL* a, const ZQSMPTEVAL* b) noexcept {
  if (a && b) Combine(a, b, -1);
  return a;
}

ZQAPI int WINAPI ZQSMPTE_SMPTECompare(const ZQSMPTEVAL* a, const ZQSMPTEVAL* b) noexcept {
  if (!a || !b) return Order(a != nullptr, b != nullptr);
  if (int o = Order(a->hours, b->hours)) return o;
  if (int o = Order(a->minutes, b->minutes)) return o;
  if (int o = Order(a->seconds, b->seconds)) return o;
  return Order(a->frames, b->frames);
}

ZQAPI void WINAPI ZQSMPTE_IncrementByFrame(ZQSMPTEVAL* value, DWORD) noexcept {
  if (!value) return;
  ZQSMPTEVAL& v = *value;
  const DWORD rate = RateOf(v.type).label;
  const bool drop = v.type == ZQSMPTE_TYPE_2997_DROP;
  if (++v.frames >= rate) {
    v.frames = 0;
    if (++v.seconds >= 60) {
      v.seconds = 0;
      if (++v.minutes >= 60) {
        v.minutes = 0;
        if (++v.hours >= 24) v.hours = 0;
      }
    }
  }
  if (drop && v.frames < 2 && v.seconds == 0 && v.minutes % 10 != 0) v.frames = 2;
}

ZQAPI void WINAPI ZQSMPTE_DeccrementByFrame(ZQSMPTEVAL* value, DWORD) noexcept {
  if (!value) return;
  ZQSMPTEVAL& v = *value;
  const DWORD rate = RateOf(v.type).label;
  ClampFields(v, rate);
  // The first label of a dropping minute steps back into the one before.
  const bool drop = v.type == ZQSMPTE_TYPE_2997_DROP && v.frames <= 2 && v.seconds == 0 && v.minutes % 10 != 0;
  if (drop) v.frames = 0;
  if (v.frames-- == 0) {
    v.frames = rate - 1;
    if (v.seconds-- == 0) {
      v.seconds = 59;
      if (v.minutes-- == 0) {
        v.minutes = 59;
        if (v.hours-- == 0) v.hours = 23;
      }
    }
  }
}

ZQAPI void WINAPI ZQSMPTE_NanoToSMPTE(LONGLONG nanos, ZQSMPTEVAL* value) noexcept {
  if (value) FromNanos(nanos, *value);
}

ZQAPI LONGLONG WINAPI ZQSMPTE_SMPTEToNanos(const ZQSMPTEVAL* value) noexcept {
  return value ? ToNanos(*value) : 0;
}

ZQAPI LONGLONG WINAPI ZQSMPTE_SmpteLikeToNanos(double rate, const ZQSMPTEVAL* value) noexcept {
  if (!value) return 0;
  const double whole = static_cast<double>(value->hours) * 3600.0 + value->minutes * 60.0 + value->seconds;
  if (!IsPositive(rate)) return TruncToNano(whole * kUnitsPerSecond + 0.999);
  return TruncToNano((whole * rate + value->frames) / rate * kUnitsPerSecond + 0.999);
}
