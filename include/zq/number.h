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
/// `value` with `decimals` places (and grouping when asked); the length.
ZQAPI int WINAPI ZqDoubleToText(LPWSTR buffer, double value, int decimals, BOOL group) ZQ_NOTHROW;

/// Locale formatting of a number text in the internal form ("-", digits,
/// "." and digits). Text before the number and leading zeros are kept.
ZQAPI int WINAPI ZqFormatNumber(LPCWSTR number, LPWSTR buffer, int capacity) ZQ_NOTHROW;
/// As ZqFormatNumber with the locale decimal separator, no grouping, as many decimals as the text
/// has.
ZQAPI int WINAPI ZqFormatDecimalNumber(LPCWSTR number, LPWSTR buffer, int capacity) ZQ_NOTHROW;
/// decimals -1: as many as the text has.
ZQAPI int WINAPI ZqFormatGroupDecimalNumber(LPCWSTR number, LPWSTR buffer, int capacity,
                                            int decimals) ZQ_NOTHROW;

/// Text to number. Each parser skips leading white space and stores in
/// `end` (when given) where it stopped. The Ex forms give `defaultValue`
/// when nothing usable was found and clamp to minimum..maximum.
ZQAPI DWORD WINAPI ZqTextToDWordToken(LPCWSTR text, LPCWSTR* end) ZQ_NOTHROW;
/// An unsigned 32-bit number; `defaultValue` when none was found, clamped to minimum..maximum.
ZQAPI DWORD WINAPI ZqTextToDWordTokenEx(LPCWSTR text, DWORD defaultValue, DWORD minimum, DWORD maximum,
                                        LPCWSTR* end) ZQ_NOTHROW;
/// An unsigned 64-bit number.
ZQAPI ULONGLONG WINAPI ZqTextToDWordLongToken(LPCWSTR text, LPCWSTR* end) ZQ_NOTHROW;
/// An unsigned 64-bit number, defaulted and clamped as in ZqTextToDWordTokenEx.
ZQAPI ULONGLONG WINAPI ZqTextToDWordLongTokenEx(LPCWSTR text, ULONGLONG defaultValue, ULONGLONG minimum,
                                                ULONGLONG maximum, LPCWSTR* end) ZQ_NOTHROW;
/// A signed 32-bit number.
ZQAPI LONG WINAPI ZqTextToLongToken(LPCWSTR text, LPCWSTR* end) ZQ_NOTHROW;
/// A signed 32-bit number, defaulted and clamped.
ZQAPI LONG WINAPI ZqTextToLongTokenEx(LPCWSTR text, LONG defaultValue, LONG minimum, LONG maximum,
                                      LPCWSTR* end) ZQ_NOTHROW;
/// A signed 64-bit number.
ZQAPI LONGLONG WINAPI ZqTextToLongLongToken(LPCWSTR text, LPCWSTR* end) ZQ_NOTHROW;
/// A signed 64-bit number, defaulted and clamped.
ZQAPI LONGLONG WINAPI ZqTextToLongLongTokenEx(LPCWSTR text, LONGLONG defaultValue, LONGLONG minimum,
                                              LONGLONG maximum, LPCWSTR* end) ZQ_NOTHROW;
/// An unsigned 32-bit number from hexadecimal text.
ZQAPI DWORD WINAPI ZqHexToDWordToken(LPCWSTR text, LPCWSTR* end) ZQ_NOTHROW;
/// As ZqHexToDWordToken, defaulted and clamped.
ZQAPI DWORD WINAPI ZqHexToDWordTokenEx(LPCWSTR text, DWORD defaultValue, DWORD minimum, DWORD maximum,
                                       LPCWSTR* end) ZQ_NOTHROW;
/// An unsigned 64-bit number from hexadecimal text.
ZQAPI ULONGLONG WINAPI ZqHexToDWordLongToken(LPCWSTR text, LPCWSTR* end) ZQ_NOTHROW;
/// As ZqHexToDWordLongToken, defaulted and clamped.
ZQAPI ULONGLONG WINAPI ZqHexToDWordLongTokenEx(LPCWSTR text, ULONGLONG defaultValue, ULONGLONG minimum,
                                               ULONGLONG maximum, LPCWSTR* end) ZQ_NOTHROW;
/// locale: read the user's thousands and decimal separators (else "," is
/// skipped and "." is the decimal point).
ZQAPI double WINAPI ZqTextToDoubleToken(LPCWSTR text, LPCWSTR* end, BOOL locale) ZQ_NOTHROW;
/// As ZqTextToDoubleToken, defaulted and clamped.
ZQAPI double WINAPI ZqTextToDoubleTokenEx(LPCWSTR text, double defaultValue, double minimum, double maximum,
                                          LPCWSTR* end, BOOL locale) ZQ_NOTHROW;

/// Labels. Byte-size buffers must hold 64 characters.
ZQAPI int WINAPI ZqGetByteSizeText(LONGLONG bytes, LPWSTR buffer) ZQ_NOTHROW;
/// As ZqGetByteSizeText, in the spaced form with "bytes"; the length.
ZQAPI int WINAPI ZqGetByteSizeText2(LONGLONG bytes, LPWSTR buffer) ZQ_NOTHROW;
/// A temporary string (the library's ring): the value with `decimals`
/// places and the suffix; "-Inf." when floor != 0 and floor >= value.
ZQAPI LPCWSTR WINAPI ZqGetLabeledStringFixed(LONG value, int decimals, LONG floor, LPCWSTR suffix) ZQ_NOTHROW;
/// As ZqGetLabeledStringFixed, for a float value; a temporary string.
ZQAPI LPCWSTR WINAPI ZqGetLabeledStringFloat(float value, int decimals, float floor, LPCWSTR suffix) ZQ_NOTHROW;
/// Writes the four bytes of `code` (lowest first; "." outside 32..126) and a
/// terminator into a buffer of 5; returns the fourth character.
ZQAPI WCHAR WINAPI ZqFourCCToString(DWORD code, LPWSTR buffer) ZQ_NOTHROW;

// Tidying.
/// Replaces every `find` in `text` by `replacement`; the text's length.
ZQAPI int WINAPI ZqStringReplaceChars(LPWSTR text, WCHAR find, WCHAR replacement) ZQ_NOTHROW;
/// Removes leading and trailing white space in place; the new length.
ZQAPI int WINAPI ZqStripWhiteSpace(LPWSTR text) ZQ_NOTHROW;
/// Copies `source` without leading and trailing white space (truncated to capacity - 1); the
/// buffer, or null when the result is empty or the source null.
ZQAPI LPWSTR WINAPI ZqPrepareName(LPCWSTR source, LPWSTR buffer, int capacity) ZQ_NOTHROW;
/// Copies `source` with every "&" doubled, for a menu; the length.
ZQAPI int WINAPI ZqFixNameForMenu(LPWSTR buffer, LPCWSTR source, int capacity) ZQ_NOTHROW;
