// Text to number: the "Token" parsers. Decimal parsers first normalise the
// text to the internal form (an optional "-", digits, "." and digits) and
// report where they stopped; values are read from the normalised form.
// Overflow: the DWord forms wrap, the Long forms clamp to their range.
#include <charconv>
#include <cwctype>
#include <limits>
#include <type_traits>

#include "text/internationals_store.h"
#include "zq/number.h"

namespace {

constexpr int kNormalMax = 63;

inline bool IsDigit(WCHAR c) { return c >= L'0' && c <= L'9'; }
inline bool IsSpace(WCHAR c) { return c && iswspace(c); }

const WCHAR* SkipSpace(const WCHAR* p) {
  while (IsSpace(*p)) ++p;
  return p;
}

// Length of `separator` when `p` begins with it; 0 for an empty separator.
int MatchSeparator(const WCHAR* p, const WCHAR* separator) {
  int n = 0;
  while (separator[n]) {
    if (p[n] != separator[n]) return 0;
    ++n;
  }
  return n;
}

struct Normalized {
  char text[kNormalMax + 1];
  int length = 0;
  const WCHAR* end = nullptr;  // the character that ended the scan

  void Add(char c) {
    if (length < kNormalMax) text[length++] = c;  // later characters still count as consumed
  }
};

Normalized Normalize(const WCHAR* p, bool locale) {
  const ZQINTERNATIONALS& inat = zq::text::Internationals();
  Normalized n;
  p = SkipSpace(p);
  if (*p == L'-') {
    n.Add('-');
    ++p;
  }
  for (;;) {
    int skip;
    if (locale && (skip = MatchSeparator(p, inat.thousandSep)) > 0) {
      p += skip;
    } else if (locale && (skip = MatchSeparator(p, inat.decimalSep)) > 0) {
      n.Add('.');
      p += skip;
    } else if (!locale && *p == L',') {
      ++p;
    } else if (!locale && *p == L'.') {
      n.Add('.');
      ++p;
    } else if (IsDigit(*p)) {
      n.Add(static_cast<char>(*p));
      ++p;
    } else {
      break;
    }
  }
  n.text[n.length] = 0;
  n.end = p;
  return n;
}

// Decimal digits up to the first other character, wrapping; a leading "-" gives 0.
template <typename U>
U ReadUnsigned(const Normalized& n) {
  if (n.text[0] == '-') return 0;
  U value = 0;
  for (const char* p = n.text; *p >= '0' && *p <= '9'; ++p) value = static_cast<U>(value * 10u + (*p - '0'));
  return value;
}

// An optional "-" and decimal digits, clamped to the range of S.
template <typename S>
S ReadSigned(const Normalized& n) {
  using U = std::make_unsigned_t<S>;
  const char* p = n.text;
  bool negative = *p == '-';
  if (negative) ++p;
  const U limit = negative ? static_cast<U>(std::numeric_limits<S>::max()) + 1u
                           : static_cast<U>(std::numeric_limits<S>::max());
  U value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    unsigned digit = static_cast<unsigned>(*p - '0');
    if (value > (limit - digit) / 10u) {
      value = limit;
      break;
    }
    value = static_cast<U>(value * 10u + digit);
  }
  return negative ? static_cast<S>(0u - value) : static_cast<S>(value);
}

double ReadDouble(const Normalized& n) {
  double value = 0.0;
  auto result = std::from_chars(n.text, n.text + n.length, value);
  if (result.ec != std::errc()) return 0.0;
  return value;
}

template <typename U>
U ReadHex(const WCHAR* p, const WCHAR** end) {
  p = SkipSpace(p);
  if (p[0] == L'0' && (p[1] == L'x' || p[1] == L'X')) p += 2;
  U value = 0;
  for (;; ++p) {
    WCHAR c = *p;
    unsigned digit;
    if (c >= L'0' && c <= L'9') digit = c - L'0';
    else if (c >= L'a' && c <= L'f') digit = c - L'a' + 10;
    else if (c >= L'A' && c <= L'F') digit = c - L'A' + 10;
    else break;
    value = static_cast<U>((value << 4) | digit);
  }
  *end = p;
  return value;
}

template <typename T>
struct Parsed {
  T value;
  const WCHAR* end;
};

template <typename T, typename Reader>
Parsed<T> ParseDecimal(LPCWSTR text, bool locale, Reader read) {
  if (!text) return {T(0), nullptr};
  Normalized n = Normalize(text, locale);
  return {read(n), n.end};
}

template <typename T>
Parsed<T> ParseHex(LPCWSTR text) {
  if (!text) return {T(0), nullptr};
  const WCHAR* end;
  T value = ReadHex<T>(text, &end);
  return {value, end};
}

template <typename T>
T Plain(const Parsed<T>& parsed, LPCWSTR* end) {
  if (end) *end = parsed.end;
  return parsed.value;
}

// Default when nothing usable was read (a zero that ended on something
// other than the end of the text or white space; also a null text), then
// clamped to minimum..maximum.
template <typename T>
T Limited(const Parsed<T>& parsed, T defaultValue, T minimum, T maximum, LPCWSTR* end) {
  T value = parsed.value;
  if (!parsed.end || (value == T(0) && *parsed.end && !IsSpace(*parsed.end))) value = defaultValue;
  if (end) *end = parsed.end;
  if (value < minimum) return minimum;
  if (value > maximum) return maximum;
  return value;
}

Parsed<DWORD> DWordOf(LPCWSTR text) { return ParseDecimal<DWORD>(text, true, ReadUnsigned<DWORD>); }
Parsed<ULONGLONG> DWordLongOf(LPCWSTR text) {
  return ParseDecimal<ULONGLONG>(text, true, ReadUnsigned<ULONGLONG>);
}
Parsed<LONG> LongOf(LPCWSTR text) { return ParseDecimal<LONG>(text, true, ReadSigned<LONG>); }
Parsed<LONGLONG> LongLongOf(LPCWSTR text) { return ParseDecimal<LONGLONG>(text, true, ReadSigned<LONGLONG>); }
Parsed<double> DoubleOf(LPCWSTR text, BOOL locale) { return ParseDecimal<double>(text, locale != 0, ReadDouble); }

}  // namespace

ZQAPI DWORD WINAPI ZqTextToDWordToken(LPCWSTR text, LPCWSTR* end) noexcept { return Plain(DWordOf(text), end); }

ZQAPI DWORD WINAPI ZqTextToDWordTokenEx(LPCWSTR text, DWORD defaultValue, DWORD minimum, DWORD maximum,
                                        LPCWSTR* end) noexcept {
  return Limited(DWordOf(text), defaultValue, minimum, maximum, end);
}

ZQAPI ULONGLONG WINAPI ZqTextToDWordLongToken(LPCWSTR text, LPCWSTR* end) noexcept {
  return Plain(DWordLongOf(text), end);
}

ZQAPI ULONGLONG WINAPI ZqTextToDWordLongTokenEx(LPCWSTR text, ULONGLONG defaultValue, ULONGLONG minimum,
                                                ULONGLONG maximum, LPCWSTR* end) noexcept {
  return Limited(DWordLongOf(text), defaultValue, minimum, maximum, end);
}

ZQAPI LONG WINAPI ZqTextToLongToken(LPCWSTR text, LPCWSTR* end) noexcept { return Plain(LongOf(text), end); }

ZQAPI LONG WINAPI ZqTextToLongTokenEx(LPCWSTR text, LONG defaultValue, LONG minimum, LONG maximum,
                                      LPCWSTR* end) noexcept {
  return Limited(LongOf(text), defaultValue, minimum, maximum, end);
}

ZQAPI LONGLONG WINAPI ZqTextToLongLongToken(LPCWSTR text, LPCWSTR* end) noexcept {
  return Plain(LongLongOf(text), end);
}

ZQAPI LONGLONG WINAPI ZqTextToLongLongTokenEx(LPCWSTR text, LONGLONG defaultValue, LONGLONG minimum,
                                              LONGLONG maximum, LPCWSTR* end) noexcept {
  return Limited(LongLongOf(text), defaultValue, minimum, maximum, end);
}

ZQAPI DWORD WINAPI ZqHexToDWordToken(LPCWSTR text, LPCWSTR* end) noexcept { return Plain(ParseHex<DWORD>(text), end); }

ZQAPI DWORD WINAPI ZqHexToDWordTokenEx(LPCWSTR text, DWORD defaultValue, DWORD minimum, DWORD maximum,
                                       LPCWSTR* end) noexcept {
  return Limited(ParseHex<DWORD>(text), defaultValue, minimum, maximum, end);
}

ZQAPI ULONGLONG WINAPI ZqHexToDWordLongToken(LPCWSTR text, LPCWSTR* end) noexcept {
  return Plain(ParseHex<ULONGLONG>(text), end);
}

ZQAPI ULONGLONG WINAPI ZqHexToDWordLongTokenEx(LPCWSTR text, ULONGLONG defaultValue, ULONGLONG minimum,
                                               ULONGLONG maximum, LPCWSTR* end) noexcept {
  return Limited(ParseHex<ULONGLONG>(text), defaultValue, minimum, maximum, end);
}

ZQAPI double WINAPI ZqTextToDoubleToken(LPCWSTR text, LPCWSTR* end, BOOL locale) noexcept {
  return Plain(DoubleOf(text, locale), end);
}

ZQAPI double WINAPI ZqTextToDoubleTokenEx(LPCWSTR text, double defaultValue, double minimum, double maximum,
                                          LPCWSTR* end, BOOL locale) noexcept {
  return Limited(DoubleOf(text, locale), defaultValue, minimum, maximum, end);
}
