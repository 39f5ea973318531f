// The conversions of the formatted printer that take an argument. Integer
// and "f" conversions are written here, digit for digit as the C
// run-time's rules have them (flags, width, precision); "e" and "g" go
// through the run-time's swprintf into a work area, "c" and "s" with any
// flag, width or precision through wsprintfW. Then, for "$", the locale
// formatter. The argument is read at the width this printer decides, so
// nothing reads an argument the caller did not pass.
#include <cmath>
#include <cwchar>

#include "text/digits.h"

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

bool HasFlag(const ParsedSpec& s, WCHAR flag) {
  for (const WCHAR* f = s.flags; *f; ++f)
    if (*f == flag) return true;
  return false;
}

// The sign or prefix, the precision's zeros, the digits and the width's
// padding of one numeric conversion into the work area; false, as for the
// run-time, when the result does not fit it. The "0" flag pads with zeros
// unless "-" is given or, for integers, a precision.
bool Pad(const ParsedSpec& s, bool integer, const WCHAR* prefix, int prefixLength, int zeros, const WCHAR* body,
         int bodyLength, WCHAR* work) {
  int pad = s.width - (prefixLength + zeros + bodyLength);
  if (pad < 0) pad = 0;
  const bool left = HasFlag(s, L'-');
  if (!left && !(integer && s.precision >= 0) && HasFlag(s, L'0')) {
    zeros += pad;
    pad = 0;
  }
  if (prefixLength + zeros + bodyLength + pad >= kWorkArea) return false;
  WCHAR* p = work;
  if (!left)
    for (int i = 0; i < pad; ++i) *p++ = L' ';
  for (int i = 0; i < prefixLength; ++i) *p++ = prefix[i];
  for (int i = 0; i < zeros; ++i) *p++ = L'0';
  for (int i = 0; i < bodyLength; ++i) *p++ = body[i];
  if (left)
    for (int i = 0; i < pad; ++i) *p++ = L' ';
  *p = 0;
  return true;
}

// d i u o x X of a value already cut to its width.
bool FormatInteger(const ParsedSpec& s, WCHAR letter, ULONGLONG magnitude, bool negative, WCHAR* work) {
  if (s.width >= kWorkArea || s.precision >= kWorkArea) return false;
  const int base = letter == L'o' ? 8 : (letter == L'x' || letter == L'X') ? 16 : 10;
  WCHAR digitText[digits::kIntegerRoom];
  // Precision 0 prints no digit for the value 0.
  const int length = magnitude == 0 && s.precision == 0 ? 0 : digits::Unsigned(magnitude, digitText, base, letter == L'X');
  int zeros = s.precision > length ? s.precision - length : 0;
  WCHAR prefix[2];
  int prefixLength = 0;
  if (letter == L'd' || letter == L'i') {
    if (negative) prefix[prefixLength++] = L'-';
    else if (HasFlag(s, L'+')) prefix[prefixLength++] = L'+';
    else if (HasFlag(s, L' ')) prefix[prefixLength++] = L' ';
  } else if (letter == L'u') {
    if (HasFlag(s, L' ')) prefix[prefixLength++] = L' ';  // as the run-time does, "+" or not
  } else if (HasFlag(s, L'#')) {
    // A leading zero for octal, unless no digit is printed at all.
    if (base == 8 && zeros == 0 && length > 0 && digitText[0] != L'0') zeros = 1;
    if (base == 16 && magnitude != 0) {
      prefix[prefixLength++] = L'0';
      prefix[prefixLength++] = letter;
    }
  }
  return Pad(s, true, prefix, prefixLength, zeros, digitText, length, work);
}

// "f": the digits exactly as the binary value lies, then sign and padding.
bool FormatFixed(const ParsedSpec& s, double value, WCHAR* work) {
  if (s.width >= kWorkArea || s.precision >= kWorkArea) return false;
  const int precision = s.precision < 0 ? 6 : s.precision;
  WCHAR number[kWorkArea + 2];
  int n = digits::Fixed(value, precision, number, kWorkArea);
  if (n < 0) return false;
  const bool negative = number[0] == L'-';
  const WCHAR* body = number + (negative ? 1 : 0);
  int bodyLength = n - (negative ? 1 : 0);
  if (precision == 0 && HasFlag(s, L'#')) {  // "#" keeps the point
    number[n++] = L'.';
    ++bodyLength;
  }
  WCHAR prefix[1];
  int prefixLength = 0;
  if (negative) prefix[prefixLength++] = L'-';
  else if (HasFlag(s, L'+')) prefix[prefixLength++] = L'+';
  else if (HasFlag(s, L' ')) prefix[prefixLength++] = L' ';
  return Pad(s, false, prefix, prefixLength, 0, body, bodyLength, work);
}

// The integer in the writer's room, grouped for "$".
void WriteInteger(TextWriter& out, ULONGLONG magnitude, bool negative, bool groups) {
  out.Emit([&](WCHAR* at, int room) {
    if (groups) return UnsignedToText(magnitude, negative, at, room, true);
    WCHAR number[digits::kIntegerRoom];
    WCHAR* end = number + digits::kIntegerRoom;
    WCHAR* start = digits::UnsignedBackward(magnitude, end);
    if (negative) *--start = L'-';
    return zq::core::CopyTextN(at, room, start, static_cast<int>(end - start));
  });
}

void Integer(TextWriter& out, const ParsedSpec& s, bool locale, va_list* args) {
  const WCHAR letter = s.letter == L'z' ? L'd' : s.letter;
  const bool isSigned = letter == L'd' || letter == L'i';
  const bool groups = locale && (isSigned || letter == L'u');
  ULONGLONG magnitude;
  bool negative = false;
  if (s.wide64) {
    const LONGLONG value = va_arg(*args, LONGLONG);
    negative = isSigned && value < 0;
    magnitude = negative ? 0ull - static_cast<ULONGLONG>(value) : static_cast<ULONGLONG>(value);
  } else {
    DWORD value = va_arg(*args, DWORD);
    if (s.size == L'h') value = isSigned ? static_cast<DWORD>(static_cast<LONG>(static_cast<SHORT>(value)))
                                         : static_cast<WORD>(value);
    negative = isSigned && static_cast<LONG>(value) < 0;
    magnitude = negative ? 0u - value : value;
  }
  if (s.bare && letter != L'o' && letter != L'x' && letter != L'X') {
    WriteInteger(out, magnitude, negative, groups);
    return;
  }
  WCHAR work[kWorkArea];
  if (FormatInteger(s, letter, magnitude, negative, work)) Emit(out, work, groups ? Locale::Group : Locale::None);
}

void Fixed(TextWriter& out, const ParsedSpec& s, bool locale, va_list* args) {
  LONG value = va_arg(*args, LONG);
  int n = s.fixedDecimals;
  ParsedSpec f;
  f.precision = n;
  WCHAR work[kWorkArea];
  if (!FormatFixed(f, static_cast<double>(value) / PowerOfTen(n), work)) return;
  if (locale) Emit(out, work, Locale::GroupDecimal, n);
  else Emit(out, work, Locale::Decimal);
}

void Floating(TextWriter& out, const ParsedSpec& s, bool locale, va_list* args) {
  double value = va_arg(*args, double);
  WCHAR work[kWorkArea];
  const bool done = s.letter == L'f' && std::isfinite(value) ? FormatFixed(s, value, work)
                                                            : RunTime(s, L"", s.letter, value, work);
  if (!done) return;
  Locale how = Locale::None;
  if (locale && s.letter == L'f') how = Locale::GroupDecimal;
  if (locale && (s.letter == L'g' || s.letter == L'G') && !wcspbrk(work, L"eE")) how = Locale::Decimal;
  Emit(out, work, how);
}

void Text(TextWriter& out, const ParsedSpec& spec, va_list* args) {
  if (spec.bare) {  // the text as it is, within what wsprintfW would write
    if (spec.letter == L'c') {
      const WCHAR c = static_cast<WCHAR>(va_arg(*args, int));
      if (c) out.Put(c);
    } else {
      const WCHAR* text = va_arg(*args, const WCHAR*);
      out.Put(text ? text : L"(null)", kStringOutput - 1);
    }
    return;
  }
  ParsedSpec s = spec;
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
  switch (c) {
    case L'd': case L'i': case L'u': case L'o': case L'x': case L'X': case L'f': case L'e': case L'E':
    case L'g': case L'G': case L'z': case L'c': case L's': case L'*': case L',': case L':': case L'!':
    case L'&':
      return true;
    default:
      return false;
  }
}

bool Convert(TextWriter& out, const WCHAR* spec, int length, bool locale, va_list* args) noexcept {
  ParsedSpec s;
  if (length == 1) {  // the letter alone: nothing to parse
    s.letter = spec[0];
    s.bare = true;
  } else if (!Parse(spec, length, &s)) {
    return false;
  }
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
