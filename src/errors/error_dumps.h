// Memory dump lines, shared by the dump exports and the exception report.
#pragma once
#include <windows.h>

#include "errors/ansi_writer.h"
#include "errors/memory_probe.h"

namespace zq::errors {

constexpr int kLineRoom = 50;       // room a dump line needs before it is started
constexpr int kStackLineRoom = 56;  // the same for an annotated stack word

// Lines of 8 bytes: " %08X: ", "%02X " per byte (".. " unreadable, three
// blanks past the end), the bytes as characters, "\r\n".
void WriteHexLines(AnsiWriter& out, MemoryProbe& probe, ULONG_PTR address, int count) noexcept;
// Lines of up to 4 words: " %08X: ", "%08X " per word ("........ "
// unreadable), "\r\n".
void WriteWordLines(AnsiWriter& out, MemoryProbe& probe, ULONG_PTR address, int count) noexcept;

}  // namespace zq::errors
