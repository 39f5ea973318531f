// Bounded copies: the one way the library writes text into a buffer whose
// capacity (in characters, terminator included) the caller gave.
#pragma once
#include <windows.h>

namespace zq::core {

// Copies at most capacity-1 characters of `source` (null = empty) and
// terminates. Writes nothing when `dest` is null or capacity <= 0.
// Returns the number of characters written, terminator excluded.
int CopyText(WCHAR* dest, int capacity, const WCHAR* source) noexcept;
// The same for at most `length` characters of `source`.
int CopyTextN(WCHAR* dest, int capacity, const WCHAR* source, int length) noexcept;
// Narrow form.
int CopyTextA(char* dest, int capacity, const char* source) noexcept;
// Appends to the terminated text already in `dest`; returns the new length.
int AppendText(WCHAR* dest, int capacity, const WCHAR* source) noexcept;

}  // namespace zq::core
