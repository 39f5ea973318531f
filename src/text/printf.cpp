// The formatted printer: scans the format, copies ordinary characters and
// dispatches "%" / "$" directives and "$(" ... ")" tokens.
#include <climits>

#include "text/internationals_store.h"
#include "text/number_text.h"
#include "text/printer.h"
#include "text/printf_internal.h"
#include "zq/printf.h"

namespace zq::text {
namespace {

using namespace printing;

inline bool IsDigit(WCHAR c) { return c >= L'0' && c <= L'9'; }

// "$(" at `p` - 2 was seen; handles the name or number literal and returns
// where scanning resumes.
const WCHAR* Token(TextWriter& out, const WCHAR* p) noexcept {
  const WCHAR* start = p;
  const bool literal = IsDigit(*p) || *p == L'-' || *p == L'.';
  if (literal) {
    int n = 1;
    while (n < kLiteralLimit && (IsDigit(p[n]) || p[n] == L'.' || p[n] == L',')) ++n;
    if (p[n] == L')') {
      // Commas in a literal are grouping marks of the internal form; the
      // locale decides the grouping shown.
      WCHAR number[kLiteralLimit + 1];
      int length = 0;
      for (int i = 0; i < n; ++i)
        if (p[i] != L',') number[length++] = p[i];
      number[length] = 0;
      out.Emit([&](WCHAR* at, int room) { return FormatGroupDecimalNumber(number, at, room, -1); });
      return p + n + 1;
    }
    out.Put(L"$(");
    out.Put(start, n);
    return p + n;
  }
  int n = 0;
  while (n < kTokenNameLimit && p[n] && p[n] != L')') ++n;
  if (p[n] == L')') {
    if (!WriteTokenValue(out, p, n)) {
      out.Put(L"$(");
      out.Put(p, n);
      out.Put(L')');
    }
    return p + n + 1;
  }
  out.Put(L"$(");
  out.Put(start, n);
  return p + n;
}

// The locale item a "!" or "&" spec inserts for the character after it;
// null when that character chooses nothing.
const WCHAR* ChosenItem(WCHAR letter, WCHAR next) noexcept {
  const ZQINTERNATIONALS& inat = Internationals();
  if (letter == L'!') {
    if (next == L',') return inat.smpteDropSep;
    if (next == L'.') return inat.smpteNonDropSep;
    if (next == L':') return inat.smpteWholeSep;
  } else {
    if (next == L':') return inat.measureBeatSep;
    if (next == L'.') return inat.beatTickSep;
  }
  return nullptr;
}

}  // namespace

int VPrintBounded(WCHAR* output, int capacity, const WCHAR* format, va_list args) noexcept {
  TextWriter out(output, capacity);
  if (!format || !output || capacity <= 0) return out.Finish();
  va_list rest;
  va_copy(rest, args);

  const WCHAR* f = format;
  while (*f) {
    const WCHAR c = *f;
    if (c != L'%' && c != L'$') {  // a run of ordinary characters in one copy
      const WCHAR* run = f;
      while (*f && *f != L'%' && *f != L'$') ++f;
      out.Put(run, static_cast<int>(f - run));
      continue;
    }
    const bool locale = c == L'$';
    if (locale && f[1] == L'$') {
      out.Put(L'$');
      f += 2;
      continue;
    }
    if (f[1] == L'%') {  // "%%" and "$%"
      out.Put(L'%');
      f += 2;
      continue;
    }
    if (locale && f[1] == L'(') {
      f = Token(out, f + 2);
      continue;
    }

    // A conversion spec: up to and including the first conversion letter.
    const WCHAR* spec = f + 1;
    int n = 0;
    while (n < kSpecLimit && spec[n] && !IsConversionLetter(spec[n])) ++n;
    if (n == kSpecLimit || !spec[n]) {  // unfinished: copied as it stands
      out.Put(L'%');
      out.Put(spec, n);
      f = spec + n;
      continue;
    }
    const WCHAR letter = spec[n];
    const int length = n + 1;
    f = spec + length;
    switch (letter) {
      case L'*': out.Put(Internationals().decimalSep); break;
      case L',': out.Put(Internationals().listSep); break;
      case L':': out.Put(Internationals().timeSep); break;
      case L'!':
      case L'&':
        if (const WCHAR* item = ChosenItem(letter, *f)) {
          out.Put(item);
          ++f;
        }
        break;
      default:
        if (!Convert(out, spec, length, locale, &rest)) {
          out.Put(L'%');
          out.Put(spec, length);
        }
        break;
    }
  }
  va_end(rest);
  return out.Finish();
}

bool TakesAtMostOneInteger(const WCHAR* format) noexcept {
  if (!format) return true;
  int integers = 0;
  const WCHAR* f = format;
  while (*f) {
    const WCHAR c = *f;
    if (c != L'%' && c != L'$') {
      ++f;
      continue;
    }
    const bool locale = c == L'$';
    if ((locale && f[1] == L'$') || f[1] == L'%') {
      f += 2;
      continue;
    }
    if (locale && f[1] == L'(') {  // a token: up to its closing parenthesis
      f += 2;
      while (*f && *f != L')') ++f;
      if (*f) ++f;
      continue;
    }
    // The same spec VPrintBounded collects.
    const WCHAR* spec = f + 1;
    int n = 0;
    while (n < kSpecLimit && spec[n] && !IsConversionLetter(spec[n])) ++n;
    if (n == kSpecLimit || !spec[n]) return integers <= 1;
    const WCHAR letter = spec[n];
    f = spec + n + 1;
    switch (letter) {
      case L'*':
      case L',':
      case L':':
      case L'!':
      case L'&':
        break;  // separators take no argument
      case L'd':
      case L'i':
      case L'u':
      case L'o':
      case L'x':
      case L'X':
      case L'z':
      case L'c':
        // A 64-bit prefix would read a second word that was never passed.
        for (int k = 0; k + 2 < n; ++k)
          if (spec[k] == L'I' && spec[k + 1] == L'6' && spec[k + 2] == L'4') return false;
        ++integers;
        break;
      default:
        return false;  // a string, a double or anything else
    }
  }
  return integers <= 1;
}

int PrintBounded(WCHAR* output, int capacity, const WCHAR* format, ...) noexcept {
  va_list args;
  va_start(args, format);
  int n = VPrintBounded(output, capacity, format, args);
  va_end(args);
  return n;
}

bool NeedsFormatting(const WCHAR* text) noexcept {
  if (!text) return false;
  for (; *text; ++text)
    if (*text == L'%' || *text == L'$') return true;
  return false;
}

}  // namespace zq::text

// No capacity by contract: the caller provides room for the whole result.
ZQAPI int WINAPI ZqVPrintF(LPWSTR output, LPCWSTR format, va_list args) noexcept {
  return zq::text::VPrintBounded(output, INT_MAX, format, args);
}

ZQAPI int ZQCDECL ZqPrintF(LPWSTR output, LPCWSTR format, ...) noexcept {
  va_list args;
  va_start(args, format);
  int n = zq::text::VPrintBounded(output, INT_MAX, format, args);
  va_end(args);
  return n;
}
