// The table formats of time text written straight from their integer
// fields, without the general printer.
#pragma once
#include <windows.h>

namespace zq::text::timetext {

// Writes `format` with `values` in order (a value is read as 32 bits for
// "%u", "%0Nu" and "$u", as 64 bits for "$I64d"). Knows the directives the
// display table uses: those four and the locale separators "$:", "$*",
// "$&:" and "$&."; other characters are copied. Returns the length written,
// or -1, leaving `out` empty, when the format holds any other directive or
// more fields than values.
int WriteTableFields(WCHAR* out, int capacity, const WCHAR* format, const LONGLONG* values, int count) noexcept;

}  // namespace zq::text::timetext
