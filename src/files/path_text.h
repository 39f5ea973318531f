// Path strings inside the files layer: the separators, bounded lengths
// and the case-insensitive comparisons the path operations share.
#pragma once
#include <windows.h>

namespace zq::files {

constexpr int kMaxPath = 260;  // characters, terminator included

inline bool IsSeparator(WCHAR c) { return c == L'\\' || c == L':'; }
// Length of `text`, or -1 when it has no terminator within `limit`
// characters (a null text counts as empty).
int BoundedLength(const WCHAR* text, int limit) noexcept;
// The platform's case-insensitive comparison of single characters.
bool SameIgnoringCase(WCHAR a, WCHAR b) noexcept;

}  // namespace zq::files
