// Library strings (ids 48000 and up) for the text layer. The localisation
// layer, which owns string loading through the library's language handle,
// installs its loader at start-up; until then the strings come from the
// module's own string table.
#pragma once
#include <windows.h>

namespace zq::text {

// Returns a terminated string that stays valid for the life of the module;
// never null (an empty string when the id has no text).
using LibraryStringSource = const WCHAR* (*)(UINT id) noexcept;

void SetLibraryStringSource(LibraryStringSource source) noexcept;  // null: the built-in loader
const WCHAR* LibraryString(UINT id) noexcept;

}  // namespace zq::text
