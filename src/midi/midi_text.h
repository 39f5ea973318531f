// The MIDI vocabulary's strings: loaded through the module's language
// handle and formatted into caller buffers that come with a capacity.
#pragma once
#include <windows.h>

namespace quillet::midi {

// String `id` of the module's language handle; "" when there is none.
const WCHAR* String(UINT id) noexcept;

// Every function below writes at most `capacity` characters (terminator
// included), always terminates when capacity > 0, writes nothing for a null
// `out` or capacity <= 0, and returns the length of the text in `out`.
int CopyString(WCHAR* out, int capacity, UINT id) noexcept;
// Formats string `id` with the library's printer.
int PrintId(WCHAR* out, int capacity, UINT id, ...) noexcept;
// Formats string `id` after the text already in `out`.
int AppendPrintId(WCHAR* out, int capacity, UINT id, ...) noexcept;

// Each byte as "0x%02X" followed by a comma. When the rest does not fit,
// "..." ends the text.
int HexDump(const BYTE* data, size_t length, WCHAR* out, int capacity) noexcept;

}  // namespace quillet::midi
