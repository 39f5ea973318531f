// Formatted printing with "%" and "$" directives and "$(Name)" tokens.
#pragma once
#include <stdarg.h>

#include "zq/base.h"

// Formats into `output`, which must hold the whole result (no capacity by
// contract). Returns the length written; the output is terminated.
ZQAPI int WINAPI ZqVPrintF(LPWSTR output, LPCWSTR format, va_list args) ZQ_NOTHROW;
ZQAPI int ZQCDECL ZqPrintF(LPWSTR output, LPCWSTR format, ...) ZQ_NOTHROW;
// 1 when stored, 0 on allocation failure. Names are case-insensitive.
ZQAPI BOOL WINAPI ZqPrintF_AddToken(LPCWSTR name, LPCWSTR value) ZQ_NOTHROW;
ZQAPI BOOL WINAPI ZqPrintF_DeleteToken(LPCWSTR name) ZQ_NOTHROW;
