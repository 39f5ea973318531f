#include "text/time_text_fields_writer.h"

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

}  // namespace

int WriteTableFields(WCHAR* out, int capacity, const WCHAR* format, const LONGLONG* values, int count) noexcept {
  const ZQINTERNATIONALS& inat = Internationals();
  const int grouping = inat.grouping <= 9 ? static_cast<int>(inat.grouping) : 0;
  // The text is built aside, so that nothing is written for a format this
  // does not know. Before each step there is room for the largest one: a
  // 64-bit field of 20 digits with 19 separators of 7 characters.
  constexpr int kStepRoom = 20 + 19 * 7;
  WCHAR text[4 * kStepRoom];
  WCHAR* p = text;
  int next = 0;
  for (const WCHAR* f = format; *f;) {
    if (p > text + (4 * kStepRoom - kStepRoom)) return -1;
    if (*f != L'%' && *f != L'$') {
      *p++ = *f++;
      continue;
    }
    const Directive d = Read(f, inat);
    f += d.length;
    if (d.op == Op::Unknown) return -1;
    if (d.op == Op::Separator) {
      for (const WCHAR* s = d.item; *s; ++s) *p++ = *s;
      continue;
    }
    if (next == count) return -1;
    const LONGLONG value = values[next++];
    bool negative = false;
    ULONGLONG magnitude = static_cast<DWORD>(value);
    if (d.op == Op::Grouped64) {
      negative = value < 0;
      magnitude = negative ? 0ull - static_cast<ULONGLONG>(value) : static_cast<ULONGLONG>(value);
    }
    const bool grouped = d.op == Op::Grouped || d.op == Op::Grouped64;
    // A field of 32 bits without separators (every clock field, beat and
    // tick) is written in place.
    if (magnitude <= 0xFFFFFFFFull) {
      DWORD small = static_cast<DWORD>(magnitude);
      int length = 1;
      for (DWORD rest = small; rest >= 10; rest /= 10) ++length;
      if (!grouped || grouping == 0 || length <= grouping) {
        if (negative) *p++ = L'-';
        for (int i = length; i < d.width; ++i) *p++ = L'0';
        p += length;
        WCHAR* q = p;
        do {
          *--q = static_cast<WCHAR>(L'0' + small % 10);
          small /= 10;
        } while (small);
        continue;
      }
    }
    WCHAR number[digits::kIntegerRoom];
    WCHAR* end = number + digits::kIntegerRoom;
    WCHAR* start = digits::UnsignedBackward(magnitude, end);
    while (end - start < d.width) *--start = L'0';
    if (grouped) {
      p += digits::Grouped(start, static_cast<int>(end - start), negative, grouping, inat.thousandSep, p);
    } else {
      while (start < end) *p++ = *start++;
    }
  }
  return zq::core::CopyTextN(out, capacity, text, static_cast<int>(p - text));
}

}  // namespace zq::text::timetext
