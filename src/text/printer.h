// The library's formatted printer, for use inside the library. Every caller
// inside the library uses the bounded form; ZqVPrintF (no capacity by
// contract) is only the exported face of it.
#pragma once
#include <stdarg.h>

#include "zq/base.h"

namespace zq::text {

// Formats `format` ("%" and "$" directives, "$(Name)" tokens) into `out`.
// Never writes past `capacity` characters (terminator included); the output
// is always terminated when capacity > 0. Returns the length written.
// A null `out` or capacity <= 0 writes nothing and returns 0; a null format
// prints nothing.
int VPrintBounded(WCHAR* out, int capacity, const WCHAR* format, va_list args) noexcept;
int PrintBounded(WCHAR* out, int capacity, const WCHAR* format, ...) noexcept;

// True when every conversion of `format` reads a 32-bit integer and there
// is at most one of them: the format can be printed with one int argument.
// True for null.
bool TakesAtMostOneInteger(const WCHAR* format) noexcept;

// True when `text` holds a "%" or a "$" (and so should go through the
// printer). False for null.
bool NeedsFormatting(const WCHAR* text) noexcept;

// The process-wide token table, created at library start-up and destroyed
// at shut-down. Startup returns false when the table cannot be created
// (printing still works; tokens are then never replaced).
bool TokenTableStartup() noexcept;
void TokenTableShutdown() noexcept;

// Adds or replaces a token (case-insensitive name; null = empty).
// False on allocation failure or when there is no table.
bool AddToken(const WCHAR* name, const WCHAR* value) noexcept;
bool DeleteToken(const WCHAR* name) noexcept;

}  // namespace zq::text
