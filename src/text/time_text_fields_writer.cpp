#include "text/time_text_fields_writer.h"

#include "text/digits.h"
#include "text/internationals_store.h"
#include "text/number_text.h"
#include "text/text_writer.h"

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
  // Checked first, so that nothing is written for a format this does not know.
  int fields = 0;
  for (const WCHAR* f = format; *f;) {
    if (*f != L'%' && *f != L'$') {
      ++f;
      continue;
    }
    const Directive d = Read(f, inat);
    if (d.op == Op::Unknown) return -1;
    if (d.op != Op::Separator) ++fields;
    f += d.length;
  }
  if (fields > count) return -1;

  TextWriter w(out, capacity);
  int next = 0;
  for (const WCHAR* f = format; *f;) {
    if (*f != L'%' && *f != L'$') {
      const WCHAR* run = f;
      while (*f && *f != L'%' && *f != L'$') ++f;
      w.Put(run, static_cast<int>(f - run));
      continue;
    }
    const Directive d = Read(f, inat);
    f += d.length;
    switch (d.op) {
      case Op::Separator:
        w.Put(d.item);
        break;
      case Op::Unsigned:
      case Op::Padded:
      case Op::Grouped: {
        const DWORD value = static_cast<DWORD>(values[next++]);
        w.Emit([&](WCHAR* at, int room) {
          if (d.op == Op::Grouped) return UnsignedToText(value, false, at, room, true);
          WCHAR number[digits::kIntegerRoom];
          WCHAR* end = number + digits::kIntegerRoom;
          WCHAR* start = digits::UnsignedBackward(value, end);
          while (end - start < d.width) *--start = L'0';
          return zq::core::CopyTextN(at, room, start, static_cast<int>(end - start));
        });
        break;
      }
      case Op::Grouped64: {
        const LONGLONG value = values[next++];
        const ULONGLONG magnitude = value < 0 ? 0ull - static_cast<ULONGLONG>(value) : static_cast<ULONGLONG>(value);
        w.Emit([&](WCHAR* at, int room) { return UnsignedToText(magnitude, value < 0, at, room, true); });
        break;
      }
      default:
        break;
    }
  }
  return w.Finish();
}

}  // namespace zq::text::timetext
