/// @file
/// Number text: numbers to display text through the user's locale and back,
/// byte-size and unit labels, four-character codes and string tidying.
#pragma once
#include "zq/base.h"

/// Number to text. Buffers without a capacity argument must hold 64
/// characters; the text is terminated and its length returned.
ZQAPI int WINAPI ZqLongToText(LONG value, LPWSTR buffer, BOOL group) ZQ_NOTHROW;
/// As ZqLongToText, for an unsigned value.
ZQAPI int WINAPI ZqDWordToText(DWORD value, LPWSTR buffer, BOOL group) ZQ_NOTHROW;
/// As ZqLongToText, for an unsigned 64-bit value (low, high).
ZQAPI int WINAPI ZqDWordLongToText(DWORD low, DWORD high, LPWSTR buffer, BOOL group) ZQ_NOTHROW;
/// As ZqLongToText, for a signed 64-bit value (low, high).
ZQAPI int WINAPI ZqLongLongToText(DWORD low, LONG high, LPWSTR buffer, BOOL group) ZQ_NOTHROW;
/// Arguments: buffer, double, decimals, group flag. Result:.
ZQAPI int WINAPI ZqDoubleToText(LPWSTR buffer, double value, int decimals, BOOL group) ZQ_NOTHROW;

/// Locale formatting of a number text in the internal form ("-", digits,
/// "." and digits). Text before the number and leading zeros are kept.
ZQAPI int WINAPI ZqFormatNumber(LPCWSTR number, LPWSTR buffer, int capacity) ZQ_NOTHROW;
/// Arguments: number text, buffer, capacity. Result: locale decimal separator, no grouping, as many
/// decimals as the text has.
ZQAPI int WINAPI ZqFormatDecimalNumber(LPCWSTR number, LPWSTR buffer, int capacity) ZQ_NOTHROW;
/// decimals -1: as many as the text has.
ZQAPI int WINAPI ZqFormatGroupDecimalNumber(LPCWSTR number, LPWSTR buffer, int capacity,
                                            int decimals) ZQ_NOTHROW;

/// Text to number. Each parser skips leading white space and stores in
/// `end` (when given) where it stopped. The Ex forms give `defaultValue`
/// when nothing usable was found and clamp to minimum..maximum.
ZQAPI DWORD WINAPI ZqTextToDWordToken(LPCWSTR text, LPCWSTR* end) ZQ_NOTHROW;
/// Arguments: default, minimum, maximum, end out. Result: unsigned 32-bit, defaulted and clamped.
ZQAPI DWORD WINAPI ZqTextToDWordTokenEx(LPCWSTR text, DWORD defaultValue, DWORD minimum, DWORD maximum,
                                        LPCWSTR* end) ZQ_NOTHROW;
/// Arguments: end out. Result: unsigned 64-bit.
ZQAPI ULONGLONG WINAPI ZqTextToDWordLongToken(LPCWSTR text, LPCWSTR* end) ZQ_NOTHROW;
/// Arguments: default, minimum, maximum (64-bit each), end out. Result: unsigned 64-bit, defaulted
/// and clamped.
ZQAPI ULONGLONG WINAPI ZqTextToDWordLongTokenEx(LPCWSTR text, ULONGLONG defaultValue, ULONGLONG minimum,
                                                ULONGLONG maximum, LPCWSTR* end) ZQ_NOTHROW;
/// Arguments: end out. Result: signed 32-bit.
ZQAPI LONG WINAPI ZqTextToLongToken(LPCWSTR text, LPCWSTR* end) ZQ_NOTHROW;
/// Arguments: default, minimum, maximum, end out. Result: signed 32-bit, defaulted and clamped.
ZQAPI LONG WINAPI ZqTextToLongTokenEx(LPCWSTR text, LONG defaultValue, LONG minimum, LONG maximum,
                                      LPCWSTR* end) ZQ_NOTHROW;
/// Arguments: end out. Result: signed 64-bit.
ZQAPI LONGLONG WINAPI ZqTextToLongLongToken(LPCWSTR text, LPCWSTR* end) ZQ_NOTHROW;
/// Arguments: default, minimum, maximum (64-bit each), end out. Result: signed 64-bit, defaulted
/// and clamped.
ZQAPI LONGLONG WINAPI ZqTextToLongLongTokenEx(LPCWSTR text, LONGLONG defaultValue, LONGLONG minimum,
                                              LONGLONG maximum, LPCWSTR* end) ZQ_NOTHROW;
/// Arguments: end out. Result: unsigned 32-bit from hexadecimal.
ZQAPI DWORD WINAPI ZqHexToDWordToken(LPCWSTR text, LPCWSTR* end) ZQ_NOTHROW;
/// Arguments: default, minimum, maximum, end out. Result: defaulted and clamped.
ZQAPI DWORD WINAPI ZqHexToDWordTokenEx(LPCWSTR text, DWORD defaultValue, DWORD minimum, DWORD maximum,
                                       LPCWSTR* end) ZQ_NOTHROW;
/// Arguments: end out. Result: unsigned 64-bit from hexadecimal.
ZQAPI ULONGLONG WINAPI ZqHexToDWordLongToken(LPCWSTR text, LPCWSTR* end) ZQ_NOTHROW;
/// Arguments: default, minimum, maximum (64-bit each), end out. Result: defaulted and clamped.
ZQAPI ULONGLONG WINAPI ZqHexToDWordLongTokenEx(LPCWSTR text, ULONGLONG defaultValue, ULONGLONG minimum,
                                               ULONGLONG maximum, LPCWSTR* end) ZQ_NOTHROW;
/// locale: read the user's thousands and decimal separators (else "," is
/// skipped and "." is the decimal point).
ZQAPI double WINAPI ZqTextToDoubleToken(LPCWSTR text, LPCWSTR* end, BOOL locale) ZQ_NOTHROW;
/// Arguments: default, minimum, maximum (doubles), end out, locale flag. Result: double, defaulted
/// and clamped.
ZQAPI double WINAPI ZqTextToDoubleTokenEx(LPCWSTR text, double defaultValue, double minimum, double maximum,
                                          LPCWSTR* end, BOOL locale) ZQ_NOTHROW;

/// Labels. Byte-size buffers must hold 64 characters.
ZQAPI int WINAPI ZqGetByteSizeText(LONGLONG bytes, LPWSTR buffer) ZQ_NOTHROW;
/// Arguments: signed 64-bit byte count, buffer. Result: length; spaced form with "bytes".
ZQAPI int WINAPI ZqGetByteSizeText2(LONGLONG bytes, LPWSTR buffer) ZQ_NOTHROW;
/// A temporary string (the library's ring): the value with `decimals`
/// places and the suffix; "-Inf." when floor != 0 and floor >= value.
ZQAPI LPCWSTR WINAPI ZqGetLabeledStringFixed(LONG value, int decimals, LONG floor, LPCWSTR suffix) ZQ_NOTHROW;
/// Arguments: value (float), decimals, floor (float), unit suffix (may be null). Result: pointer to
/// a temporary string.
ZQAPI LPCWSTR WINAPI ZqGetLabeledStringFloat(float value, int decimals, float floor, LPCWSTR suffix) ZQ_NOTHROW;
/// Writes the four bytes of `code` (lowest first; "." outside 32..126) and a
/// terminator into a buffer of 5; returns the fourth character.
ZQAPI WCHAR WINAPI ZqFourCCToString(DWORD code, LPWSTR buffer) ZQ_NOTHROW;

/// Tidying.
ZQAPI int WINAPI ZqStringReplaceChars(LPWSTR text, WCHAR find, WCHAR replacement) ZQ_NOTHROW;
/// Arguments: text. Result: new length; leading and trailing white space removed in place.
ZQAPI int WINAPI ZqStripWhiteSpace(LPWSTR text) ZQ_NOTHROW;
/// Arguments: source, buffer, capacity. Result: the buffer when the result is not empty, else null
/// (also for a null source).
ZQAPI LPWSTR WINAPI ZqPrepareName(LPCWSTR source, LPWSTR buffer, int capacity) ZQ_NOTHROW;
/// Arguments: buffer, source, capacity. Result: length; every "&" doubled.
ZQAPI int WINAPI ZqFixNameForMenu(LPWSTR buffer, LPCWSTR source, int capacity) ZQ_NOTHROW;
