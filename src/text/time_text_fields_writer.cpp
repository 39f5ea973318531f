#include "text/time_text_fields_writer.h"

#include <cwchar>

#include "text/digits.h"
#include "text/internationals_store.h"
#include "core/text_copy.h"

namespace zq::text::timetext {
namespace {

enum class Op { Literal, Unsigned, Padded, Grouped, Grouped64, Separator, Unknown };

struct Directive {
  Op op = Op::Unknown;
  int width = 0;                  // "%0Nu": N
  const WCHAR* item = nullptr;    // a separator's text
  int length = 1;                 // characters of the format it takes
};

// The directive at `f` (a "%" or "$").
Directive Read(const WCHAR* f, const ZQINTERNATIONALS& inat) {
  Directive d;
  if (f[0] == L'%' && f[1] == L'u') return {Op::Unsigned, 0, nullptr, 2};
  if (f[0] == L'%' && f[1] == L'0' && f[2] >= L'1' && f[2] <= L'9' && f[3] == L'u')
    return {Op::Padded, f[2] - L'0', nullptr, 4};
  if (f[0] != L'$') return d;
  switch (f[1]) {
    case L'u': return {Op::Grouped, 0, nullptr, 2};
    case L':': return {Op::Separator, 0, inat.timeSep, 2};
    case L'*': return {Op::Separator, 0, inat.decimalSep, 2};
    case L'&':
      if (f[2] == L':') return {Op::Separator, 0, inat.measureBeatSep, 3};
      if (f[2] == L'.') return {Op::Separator, 0, inat.beatTickSep, 3};
      return d;
    case L'I':
      if (f[2] == L'6' && f[3] == L'4' && f[4] == L'd') return {Op::Grouped64, 0, nullptr, 5};
      return d;
    default:
      return d;
  }
}

// Writes `magnitude` at `p` ("-" first when negative), with zeros before
// it up to `width` digits and `separator` (`separatorLength` characters)
// between groups of `grouping` digits counted from the right (0: none).
// Returns the end. 32-bit values are written in place from the right.
WCHAR* PutField(WCHAR* p, ULONGLONG magnitude, bool negative, int width, int grouping, const WCHAR* separator,
                int separatorLength) {
  if (magnitude > 0xFFFFFFFFull) {
    WCHAR number[digits::kIntegerRoom];
    WCHAR* end = number + digits::kIntegerRoom;
    WCHAR* start = digits::UnsignedBackward(magnitude, end);
    while (end - start < width) *--start = L'0';
    return p + digits::Grouped(start, static_cast<int>(end - start), negative, grouping, separator, p);
  }
  if (negative) *p++ = L'-';
  DWORD v = static_cast<DWORD>(magnitude);
  // Two digits (most clock fields and beats) take no separator unless the
  // groups are single digits.
  if (v < 100 && grouping != 1) {
    for (int i = v < 10 ? 1 : 2; i < width; ++i) *p++ = L'0';
    if (v >= 10) *p++ = static_cast<WCHAR>(L'0' + v / 10);
    *p++ = static_cast<WCHAR>(L'0' + v % 10);
    return p;
  }
  int length = 1;
  for (DWORD rest = v; rest >= 10; rest /= 10) ++length;
  for (int i = length; i < width; ++i) *p++ = L'0';
  int separators = 0;
  if (grouping > 0)
    for (int left = length - grouping; left > 0; left -= grouping) ++separators;
  WCHAR* const end = p + length + separators * separatorLength;
  WCHAR* q = end;
  for (int inGroup = 0;; ++inGroup) {
    if (inGroup == grouping && separators > 0) {
      q -= separatorLength;
      for (int i = 0; i < separatorLength; ++i) q[i] = separator[i];
      inGroup = 0;
    }
    *--q = static_cast<WCHAR>(L'0' + v % 10);
    v /= 10;
    if (v == 0) break;
  }
  return end;
}

// Characters a step may write at most: a 32-bit field has up to 10 digits
// (widths are single digits), a 64-bit one a sign and 20; separators hold
// at most 7 characters.
int RoomOf(Op op, int thousandLength) {
  switch (op) {
    case Op::Literal: return 1;
    case Op::Unsigned:
    case Op::Padded: return 10;
    case Op::Grouped: return 10 + 9 * thousandLength;
    case Op::Grouped64: return 1 + 20 + 19 * thousandLength;
    case Op::Separator: return 7;
    default: return 0;
  }
}

// A format this does not write: `out` is left empty.
int Fail(WCHAR* out) {
  out[0] = 0;
  return -1;
}

}  // namespace

int WriteTableFields(WCHAR* out, int capacity, const WCHAR* format, const LONGLONG* values, int count) noexcept {
  if (!out || capacity <= 0) return 0;
  const ZQINTERNATIONALS& inat = Internationals();
  const int grouping = inat.grouping <= 9 ? static_cast<int>(inat.grouping) : 0;
  const int thousandLength = static_cast<int>(wcslen(inat.thousandSep));
  // The text goes straight into `out` while each step surely fits before
  // the terminator. From the first step that might not, it is built aside,
  // which holds four of the largest steps, and cut to the capacity at the
  // end.
  constexpr int kAside = 4 * (1 + 20 + 19 * 7);
  WCHAR aside[kAside];
  WCHAR* text = out;
  WCHAR* stop = out + (capacity - 1 < kAside ? capacity - 1 : kAside);
  WCHAR* p = out;
  int next = 0;
  for (const WCHAR* f = format; *f;) {
    Directive d{Op::Literal, 0, nullptr, 1};
    if (*f == L'%' || *f == L'$') d = Read(f, inat);
    if (stop - p < RoomOf(d.op, thousandLength)) {
      if (text == aside || capacity - 1 >= kAside) return Fail(out);
      wmemcpy(aside, out, p - out);
      p = aside + (p - out);
      text = aside;
      stop = aside + kAside;
    }
    switch (d.op) {
      case Op::Unknown:
        return Fail(out);
      case Op::Literal:
        *p++ = *f;
        break;
      case Op::Separator:
        for (const WCHAR* s = d.item; *s; ++s) *p++ = *s;
        break;
      default: {
        if (next == count) return Fail(out);
        const LONGLONG value = values[next++];
        const bool wide = d.op == Op::Grouped64;
        const bool negative = wide && value < 0;
        const ULONGLONG magnitude = !wide    ? static_cast<DWORD>(value)
                                    : negative ? 0ull - static_cast<ULONGLONG>(value)
                                               : static_cast<ULONGLONG>(value);
        const int groups = d.op == Op::Grouped || wide ? grouping : 0;
        p = PutField(p, magnitude, negative, d.width, groups, inat.thousandSep, thousandLength);
        break;
      }
    }
    f += d.length;
  }
  if (text == out) {
    *p = 0;
    return static_cast<int>(p - out);
  }
  return zq::core::CopyTextN(out, capacity, aside, static_cast<int>(p - aside));
}

}  // namespace zq::text::timetext
