// Pieces of the formatted printer shared by its files.
#pragma once
#include <stdarg.h>

#include "text/text_writer.h"

namespace zq::text::printing {

constexpr int kSpecLimit = 259;        // characters of one spec after its introducer
constexpr int kWorkArea = 260;         // one numeric conversion must fit it
constexpr int kStringOutput = 1024;    // output of one "c" or "s" conversion
constexpr int kTokenNameLimit = 260;   // characters of a "$(" name ")"
constexpr int kLiteralLimit = 259;     // characters of a "$(" number ")"

// Letters that end a conversion spec.
bool IsConversionLetter(WCHAR c) noexcept;

// Formats one conversion that takes an argument (d i u o x X f e E g G z c s).
// `spec` holds the characters after the introducer, the letter last;
// `locale` is set for the "$" introducer. Returns false, consuming no
// argument and writing nothing, when the directive is malformed (characters
// other than flags, width, precision and a size prefix before the letter).
bool Convert(TextWriter& out, const WCHAR* spec, int length, bool locale, va_list* args) noexcept;

// Writes the value of the token `name` (length characters); false when no
// token has that name.
bool WriteTokenValue(TextWriter& out, const WCHAR* name, int length) noexcept;

}  // namespace zq::text::printing
