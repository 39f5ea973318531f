// Hex and word dumps of memory, unreadable parts shown as dots.
#include "errors/error_dumps.h"

#include "zq/errors.h"

namespace zq::errors {
namespace {

void LineAddress(AnsiWriter& out, ULONG_PTR address) noexcept {
  out.Put(' ');
  out.Hex(static_cast<DWORD>(address), 8);
  out.Put(": ");
}

}  // namespace

void WriteHexLines(AnsiWriter& out, MemoryProbe& probe, ULONG_PTR address, int count) noexcept {
  for (int offset = 0; offset < count; offset += 8) {
    if (out.Room() < kLineRoom) return;
    const ULONG_PTR line = address + offset;
    const int bytes = count - offset < 8 ? count - offset : 8;
    char shown[8];
    LineAddress(out, line);
    for (int i = 0; i < 8; ++i) {
      if (i >= bytes) {
        out.Put("   ");
      } else if (probe.Readable(line + i)) {
        const BYTE value = *reinterpret_cast<const volatile BYTE*>(line + i);
        out.Hex(value, 2);
        out.Put(' ');
        shown[i] = value >= 32 && value <= 126 ? static_cast<char>(value) : '.';
      } else {
        out.Put(".. ");
        shown[i] = '.';
      }
    }
    for (int i = 0; i < bytes; ++i) out.Put(shown[i]);
    out.Put("\r\n");
  }
}

void WriteWordLines(AnsiWriter& out, MemoryProbe& probe, ULONG_PTR address, int count) noexcept {
  for (int index = 0; index < count; index += 4) {
    if (out.Room() < kLineRoom) return;
    const ULONG_PTR line = address + static_cast<ULONG_PTR>(index) * 4;
    LineAddress(out, line);
    for (int i = index; i < count && i < index + 4; ++i) {
      const ULONG_PTR word = address + static_cast<ULONG_PTR>(i) * 4;
      if (probe.Readable(word, 4)) {
        out.Hex(*reinterpret_cast<const volatile DWORD*>(word), 8);
        out.Put(' ');
      } else {
        out.Put("........ ");
      }
    }
    out.Put("\r\n");
  }
}

}  // namespace zq::errors

using namespace zq::errors;

ZQAPI int WINAPI ZqErrorHandler_DumpHex(LPSTR out, int size, const void* address, int count) noexcept {
  AnsiWriter writer(out, size);
  MemoryProbe probe;
  if (count > 0) WriteHexLines(writer, probe, reinterpret_cast<ULONG_PTR>(address), count);
  return writer.Length();
}

ZQAPI int WINAPI ZqErrorHandler_DumpHexDWords(LPSTR out, int size, const void* address, int count) noexcept {
  AnsiWriter writer(out, size);
  MemoryProbe probe;
  if (count > 0) WriteWordLines(writer, probe, reinterpret_cast<ULONG_PTR>(address), count);
  return writer.Length();
}
