#include "midi/midi_text.h"

#include <stdarg.h>

#include "core/module_state.h"
#include "core/text_copy.h"
#include "midi/midi_ids.h"
#include "text/printer.h"
#include "zq/lang.h"

namespace quillet::midi {
namespace {

// Length of the terminated text in `out`, at most capacity - 1 (a buffer
// handed over unterminated is terminated at its end).
int CurrentLength(WCHAR* out, int capacity) noexcept {
  int length = 0;
  while (length < capacity - 1 && out[length]) ++length;
  out[length] = 0;
  return length;
}

}  // namespace

const WCHAR* String(UINT id) noexcept { return ZqGetString(zq::core::DefaultLang(), id); }

int CopyString(WCHAR* out, int capacity, UINT id) noexcept {
  if (!out || capacity <= 0) return 0;
  return zq::core::CopyText(out, capacity, String(id));
}

int PrintId(WCHAR* out, int capacity, UINT id, ...) noexcept {
  if (!out || capacity <= 0) return 0;
  va_list args;
  va_start(args, id);
  int length = zq::text::VPrintBounded(out, capacity, String(id), args);
  va_end(args);
  return length;
}

int AppendPrintId(WCHAR* out, int capacity, UINT id, ...) noexcept {
  if (!out || capacity <= 0) return 0;
  int length = CurrentLength(out, capacity);
  va_list args;
  va_start(args, id);
  length += zq::text::VPrintBounded(out + length, capacity - length, String(id), args);
  va_end(args);
  return length;
}

int HexDump(const BYTE* data, size_t length, WCHAR* out, int capacity) noexcept {
  if (!out || capacity <= 0) return 0;
  out[0] = 0;
  if (!data) return 0;
  constexpr int kItem = 5;  // "0xAB,"
  static const WCHAR kEllipsis[] = L"...";
  constexpr int kEllipsisLength = 3;
  int written = 0;
  // No more than capacity - 1 bytes can ever show.
  size_t considered = length < static_cast<size_t>(capacity - 1) ? length : static_cast<size_t>(capacity - 1);
  for (size_t i = 0; i < considered; ++i) {
    int room = capacity - 1 - written;
    bool last = i + 1 == length;
    // Keep room for "..." unless this is the last byte.
    if (room < kItem || (!last && room < kItem + kEllipsisLength)) {
      return zq::core::AppendText(out, capacity, kEllipsis);
    }
    WCHAR item[16];
    int n = PrintId(item, ARRAYSIZE(item), IDS_MIDI_FMT_HEX_BYTE, static_cast<int>(data[i]));
    if (n + 1 > room) return zq::core::AppendText(out, capacity, kEllipsis);
    zq::core::AppendText(out, capacity, item);
    written = zq::core::AppendText(out, capacity, L",");
  }
  if (considered < length) written = zq::core::AppendText(out, capacity, kEllipsis);
  return written;
}

}  // namespace quillet::midi
