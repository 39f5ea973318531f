// Field splitting of the time parsers.
#include "text/time_text_fields.h"

#include <cwctype>

#include "text/internationals_store.h"

namespace zq::text::timefields {
namespace {

inline bool IsDigit(WCHAR c) { return c >= L'0' && c <= L'9'; }
inline bool IsSpace(WCHAR c) { return c && iswspace(c); }

constexpr ULONGLONG kSaturated = ~0ull;

void Add(Fields& f, const WCHAR* begin, const WCHAR* end) {
  if (f.count == kMaxFields) return;
  ULONGLONG value = 0;
  for (const WCHAR* p = begin; p < end; ++p) value = AddSat(MulSat(value, 10), static_cast<ULONGLONG>(*p - L'0'));
  f.item[f.count++] = {value, static_cast<int>(end - begin), begin, end};
}

// True when the text between two fields is exactly `separator`.
bool Separates(const WCHAR* from, const WCHAR* to, const WCHAR* separator) {
  for (; from < to; ++from, ++separator)
    if (*from != *separator) return false;
  return *separator == 0;
}

void JoinGroups(Fields& f, const Rules& rules) {
  if (!rules.groupSeparator || !*rules.groupSeparator || rules.groupSize <= 0) return;
  if (f.count <= rules.maxFields || f.item[0].digits > rules.groupSize) return;
  ULONGLONG scale = 1;
  for (int i = 0; i < rules.groupSize; ++i) scale = MulSat(scale, 10);
  while (f.count > rules.maxFields && f.count >= 2) {
    Field& first = f.item[0];
    const Field& next = f.item[1];
    if (next.digits != rules.groupSize || next.begin == next.end ||
        !Separates(first.end, next.begin, rules.groupSeparator))
      return;
    first.value = AddSat(MulSat(first.value, scale), next.value);
    first.digits += next.digits;
    first.end = next.end;
    for (int i = 1; i + 1 < f.count; ++i) f.item[i] = f.item[i + 1];
    --f.count;
  }
}

}  // namespace

ULONGLONG AddSat(ULONGLONG a, ULONGLONG b) noexcept {
  ULONGLONG r;
  return __builtin_add_overflow(a, b, &r) ? kSaturated : r;
}

ULONGLONG MulSat(ULONGLONG a, ULONGLONG b) noexcept {
  ULONGLONG r;
  return __builtin_mul_overflow(a, b, &r) ? kSaturated : r;
}

Fields Split(const WCHAR* text, const Rules& rules) noexcept {
  Fields f;
  if (!text) text = L"";
  const WCHAR* p = text;
  while (IsSpace(*p)) ++p;
  f.start = p;
  const WCHAR* end = p;
  while (*end) ++end;

  // Back from the end to the last digit: is there a trailing separator?
  const WCHAR* lastDigit = end;
  const WCHAR* lastVisible = nullptr;  // past the last character that is not white space
  bool trailingSeparator = false;
  while (lastDigit > p && !IsDigit(lastDigit[-1])) {
    --lastDigit;
    if (!IsSpace(*lastDigit)) {
      trailingSeparator = true;
      if (!lastVisible) lastVisible = lastDigit + 1;
    }
  }
  if (lastDigit == p) return f;  // no digit at all

  while (p < lastDigit && f.count < kMaxFields) {
    if (!IsDigit(*p)) {
      ++p;
      continue;
    }
    const WCHAR* run = p;
    while (p < lastDigit && IsDigit(*p)) ++p;
    if (rules.pairs && p - run > 2) {
      const WCHAR* piece = run + (p - run) % 2;
      if (piece > run) Add(f, run, piece);
      for (; piece < p; piece += 2) Add(f, piece, piece + 2);
    } else {
      Add(f, run, p);
    }
  }
  if (trailingSeparator && f.count < kMaxFields) f.item[f.count++] = {0, 1, lastVisible, lastVisible};
  JoinGroups(f, rules);
  return f;
}

int RightAligned(const Fields& f, int units, ULONGLONG* out) noexcept {
  const int used = f.count < units ? f.count : units;
  for (int i = 0; i < units; ++i) out[i] = 0;
  for (int i = 0; i < used; ++i) out[units - used + i] = f.item[i].value;
  return used;
}

Rules LocaleGrouping(int maxFields) noexcept {
  const ZQINTERNATIONALS& inat = Internationals();
  Rules rules;
  rules.maxFields = maxFields;
  rules.groupSeparator = inat.thousandSep;
  rules.groupSize = static_cast<int>(inat.grouping);
  return rules;
}

}  // namespace zq::text::timefields
