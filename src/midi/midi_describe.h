// Display text of an event or of one of its fields, for event lists and
// the event dialogs.
#pragma once
#include <windows.h>

#include "quillet/event.h"

namespace quillet::midi {

// Field selectors.
constexpr DWORD kSummary = 0;        // the kind's summary text
constexpr DWORD kField1 = 0x1;       // values of the first to fourth field
constexpr DWORD kField2 = 0x2;
constexpr DWORD kField3 = 0x4;
constexpr DWORD kField4 = 0x8;
constexpr DWORD kLabel1 = 0x10;      // dialog labels of the first to fourth field
constexpr DWORD kLabel2 = 0x20;
constexpr DWORD kLabel3 = 0x40;
constexpr DWORD kLabel4 = 0x80;
constexpr DWORD kTypeName = 0x400;   // the type name only
// Added to a value selector: numbers instead of names (note and program
// numbers, raw bank bytes).
constexpr DWORD kNumeric = 0x10000000;

// Writes the text of `selector` for `event` into `text` (cleared first; at
// most `capacity` characters, terminator included, always terminated).
// S_OK with the text, S_FALSE (empty text) when the event has no text for
// that selector, E_POINTER for a null event or buffer, E_INVALIDARG for
// capacity <= 0. Data blocks are never read past their length.
HRESULT DescribeEvent(const QUILLET_EVENT* event, WCHAR* text, int capacity, DWORD selector) noexcept;

// One request to a kind's describer: a field selector without kNumeric.
struct FieldRequest {
  DWORD field;
  bool numeric;
  WCHAR* out;      // cleared, capacity > 0
  int capacity;
};

// The describers of the long kinds.
HRESULT DescribeSysex(const QUILLET_EVENT& event, const FieldRequest& request) noexcept;
HRESULT DescribeMeta(const QUILLET_EVENT& event, const FieldRequest& request) noexcept;

}  // namespace quillet::midi
