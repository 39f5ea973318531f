/// @file
/// Formatted printing with "%" and "$" directives and "$(Name)" tokens.
#pragma once
#include <stdarg.h>

#include "zq/base.h"

/// Formats into `output`, which must hold the whole result (no capacity by
/// contract). Returns the length written; the output is terminated.
ZQAPI int WINAPI ZqVPrintF(LPWSTR output, LPCWSTR format, va_list args) ZQ_NOTHROW;
/// As ZqVPrintF, with variable arguments.
ZQAPI int ZQCDECL ZqPrintF(LPWSTR output, LPCWSTR format, ...) ZQ_NOTHROW;
/// 1 when stored, 0 on allocation failure. Names are case-insensitive.
ZQAPI BOOL WINAPI ZqPrintF_AddToken(LPCWSTR name, LPCWSTR value) ZQ_NOTHROW;
/// Removes token `name`; 1 when one was removed, else 0.
ZQAPI BOOL WINAPI ZqPrintF_DeleteToken(LPCWSTR name) ZQ_NOTHROW;

/// The system message formatter ("%1" inserts) into a buffer of `capacity`
/// characters. Returns the characters written; 0 on failure (the buffer is
/// then empty).
ZQAPI int ZQCDECL ZqComposeStr(LPWSTR buffer, int capacity, LPCWSTR format, ...) ZQ_NOTHROW;

/// Shortens `text` (a buffer of `capacity` characters) with "..." so that it
/// fits `width` pixels in the font of `dc`, keeping its start (or, FromEnd,
/// its end). 1 when the text fits, possibly shortened; 0 when nothing fits
/// (the text is unchanged).
ZQAPI BOOL WINAPI ZqCalcStringEllipsis(HDC dc, LPWSTR text, int capacity, int width) ZQ_NOTHROW;
/// As ZqCalcStringEllipsis, keeping the end of the text.
ZQAPI BOOL WINAPI ZqCalcStringEllipsisFromEnd(HDC dc, LPWSTR text, int capacity, int width) ZQ_NOTHROW;
