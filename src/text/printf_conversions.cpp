// The conversions of the formatted printer that take an argument. Numeric
// conversions go through the C run-time's swprintf into a work area (then,
// for "$", through the locale formatter); "c" and "s" through wsprintfW.
// The directive handed to the run-time is rebuilt from the parsed flags, width,
// precision and size, and the argument is read at the width this printer
// decides, so the run-time never reads an argument the caller did not pass.
#include <cmath>
#include <cwchar>

#include "text/number_text.h"
#include "text/printf_internal.h"

namespace zq::text::printing {
namespace {

struct ParsedSpec {
  WCHAR letter = 0;
  bool wide64 = false;       // "I64" directly after the introducer
  WCHAR flags[8] = {};       // each of "-+ #0" at most once
  int width = -1;            // -1: none
  int precision = -1;        // -1: none
  WCHAR size = 0;            // 'h', 'l' or 0
  bool bare = false;         // nothing between the introducer and the letter
  int fixedDecimals = 0;     // "z": N of an exact ".N" form, else 0
};

constexpr int kNumberLimit = 100000;  // width and precision are clipped here

inline bool IsDigit(WCHAR c) { return c >= L'0' && c <= L'9'; }

bool StartsWithI64(const WCHAR* p, const WCHAR* end) {
  return end - p >= 3 && p[0] == L'I' && p[1] == L'6' && p[2] == L'4';
}

int ReadNumber(const WCHAR*& p, const WCHAR* end) {
  int value = 0;
  while (p < end && IsDigit(*p)) {
    if (value < kNumberLimit) value = value * 10 + (*p - L'0');
    ++p;
  }
  return value;
}

bool Parse(const WCHAR* spec, int length, ParsedSpec* s) {
  const WCHAR* p = spec;
  const WCHAR* end = spec + length - 1;  // the letter
  s->letter = *end;
  s->bare = length == 1;
  if (StartsWithI64(p, end)) {
    s->wide64 = true;
    p += 3;
  }
  if (s->letter == L'z' && !s->wide64 && p < end && *p == L'.' && end - p >= 2) {
    const WCHAR* q = p + 1;
    int n = ReadNumber(q, end);
    if (q == end && n > 0) s->fixedDecimals = n;
  }
  int flagCount = 0;
  while (p < end && wcschr(L"-+ #0", *p)) {
    if (!wcschr(s->flags, *p) && flagCount < 5) s->flags[flagCount++] = *p;
    ++p;
  }
  if (p < end && IsDigit(*p)) s->width = ReadNumber(p, end);
  if (p < end && *p == L'.') {
    ++p;
    s->precision = ReadNumber(p, end);
  }
  if (p < end && (*p == L'h' || *p == L'l')) {
    s->size = *p++;
  } else if (StartsWithI64(p, end)) {
    p += 3;  // after flags or a width: the argument is taken as 32 bits
  }
  return p == end;
}

// "%" + flags + width + precision + size + letter, for the run-time.
void BuildSpec(const ParsedSpec& s, const WCHAR* size, WCHAR letter, WCHAR* out, int capacity) {
  TextWriter w(out, capacity);
  w.Put(L'%');
  w.Put(s.flags);
  WCHAR number[16];
  if (s.width >= 0) {
    DWordToText(static_cast<DWORD>(s.width), number, 16, false);
    w.Put(number);
  }
  if (s.precision >= 0) {
    w.Put(L'.');
    DWordToText(static_cast<DWORD>(s.precision), number, 16, false);
    w.Put(number);
  }
  w.Put(size);
  w.Put(letter);
  w.Finish();
}

// Runs swprintf for one value into the work area; false when it fails or
// does not fit.
template <typename T>
bool RunTime(const ParsedSpec& s, const WCHAR* size, WCHAR letter, T value, WCHAR* work) {
  if (s.width >= kWorkArea || s.precision >= kWorkArea) return false;
  WCHAR format[48];
  BuildSpec(s, size, letter, format, 48);
  int n = swprintf(work, kWorkArea, format, value);
  return n >= 0 && n < kWorkArea;
}

enum class Locale { None, Group, Decimal, GroupDecimal };

void Emit(TextWriter& out, const WCHAR* work, Locale locale, int decimals = -1) {
  switch (locale) {
    case Locale::None: out.Put(work); break;
    case Locale::Group:
      out.Emit([&](WCHAR* at, int room) { return FormatNumber(work, at, room); });
      break;
    case Locale::Decimal:
      out.Emit([&](WCHAR* at, int room) { return FormatDecimalNumber(work, at, room); });
      break;
    case Locale::GroupDecimal:
      out.Emit([&](WCHAR* at, int room) { return FormatGroupDecimalNumber(work, at, room, decimals); });
      break;
  }
}

double PowerOfTen(int n) {
  static const double kPowers[16] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                     1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  return n < 16 ? kPowers[n] : std::pow(10.0, n);
}

void Integer(TextWriter& out, const ParsedSpec& s, bool locale, va_list* args) {
  const WCHAR letter = s.letter == L'z' ? L'd' : s.letter;
  const bool isSigned = letter == L'd' || letter == L'i';
  const bool groups = locale && (isSigned || letter == L'u');
  WCHAR work[kWorkArea];
  if (s.wide64) {
    LONGLONG value = va_arg(*args, LONGLONG);
    if (RunTime(s, L"I64", letter, value, work)) Emit(out, work, groups ? Locale::Group : Locale::None);
    return;
  }
  DWORD value = va_arg(*args, DWORD);
  if (s.bare && letter != L'o' && letter != L'x' && letter != L'X') {
    out.Emit([&](WCHAR* at, int room) {
      return isSigned ? LongToText(static_cast<LONG>(value), at, room, groups)
                      : DWordToText(value, at, room, groups);
    });
    return;
  }
  const WCHAR size[2] = {s.size == L'h' ? L'h' : L'\0', 0};
  if (RunTime(s, size, letter, value, work)) Emit(out, work, groups ? Locale::Group : Locale::None);
}

void Fixed(TextWriter& out, const ParsedSpec& s, bool locale, va_list* args) {
  LONG value = va_arg(*args, LONG);
  int n = s.fixedDecimals;
  ParsedSpec f;
  f.precision = n;
  WCHAR work[kWorkArea];
  if (!RunTime(f, L"", L'f', static_cast<double>(value) / PowerOfTen(n), work)) return;
  if (locale) Emit(out, work, Locale::GroupDecimal, n);
  else Emit(out, work, Locale::Decimal);
}

void Floating(TextWriter& out, const ParsedSpec& s, bool locale, va_list* args) {
  double value = va_arg(*args, double);
  WCHAR work[kWorkArea];
  if (!RunTime(s, L"", s.letter, value, work)) return;
  Locale how = Locale::None;
  if (locale && s.letter == L'f') how = Locale::GroupDecimal;
  if (locale && (s.letter == L'g' || s.letter == L'G') && !wcspbrk(work, L"eE")) how = Locale::Decimal;
  Emit(out, work, how);
}

void Text(TextWriter& out, ParsedSpec s, va_list* args) {
  // wsprintfW writes at most kStringOutput characters per call.
  if (s.width > kStringOutput) s.width = kStringOutput;
  if (s.precision > kStringOutput) s.precision = kStringOutput;
  // Sign flags mean nothing to text; wsprintfW does not know them.
  WCHAR flags[8] = {};
  int kept = 0;
  for (const WCHAR* f = s.flags; *f; ++f)
    if (*f != L'+' && *f != L' ') flags[kept++] = *f;
  wcscpy_s(s.flags, flags);
  const WCHAR size[2] = {s.size, 0};
  WCHAR format[48];
  BuildSpec(s, size, s.letter, format, 48);
  WCHAR work[kStringOutput + 1];
  int n;
  if (s.letter == L'c') n = wsprintfW(work, format, va_arg(*args, int));
  else n = wsprintfW(work, format, va_arg(*args, const void*));
  if (n < 0) return;
  work[n < kStringOutput ? n : kStringOutput] = 0;
  out.Put(work);
}

}  // namespace

bool IsConversionLetter(WCHAR c) noexcept {
  return c && wcschr(L"diuoxXfeEgGzcs*,:!&", c) != nullptr;
}

bool Convert(TextWriter& out, const WCHAR* spec, int length, bool locale, va_list* args) noexcept {
  ParsedSpec s;
  if (!Parse(spec, length, &s)) return false;
  switch (s.letter) {
    case L'd': case L'i': case L'u': case L'o': case L'x': case L'X':
      Integer(out, s, locale, args);
      return true;
    case L'z':
      if (s.wide64) return false;
      if (s.fixedDecimals > 0) Fixed(out, s, locale, args);
      else Integer(out, s, locale, args);
      return true;
    case L'f': case L'e': case L'E': case L'g': case L'G':
      if (s.wide64) return false;
      Floating(out, s, locale, args);
      return true;
    case L'c': case L's':
      if (s.wide64) return false;
      Text(out, s, args);
      return true;
    default:
      return false;
  }
}

}  // namespace zq::text::printing
