// Event records: copying and clearing with their data blocks, and the
// values derived from their data bytes.
#pragma once
#include "quillet/event.h"

namespace quillet {

inline bool IsLongKind(DWORD type) { return (type & QEV_LONG_KINDS) != 0; }

// Frees an owned data block, zero-fills the record and marks it empty.
void ClearEvent(QUILLET_EVENT* event) noexcept;
// Copies `source` into `dest` (which holds nothing), duplicating a data
// block with the COM task allocator. E_OUTOFMEMORY leaves `dest` empty;
// E_POINTER for a null record; copying a record onto itself changes nothing.
HRESULT CopyEvent(QUILLET_EVENT* dest, const QUILLET_EVENT* source) noexcept;
// A short event of `type` with its first two data bytes.
QUILLET_EVENT ShortEvent(DWORD type, LONG channel, DWORD subTrack, LONGLONG time, BYTE byte0, BYTE byte1) noexcept;

// Derived values.
inline int ParameterNumber(const QUILLET_EVENT& e) { return ((e.bytes[0] << 7) | e.bytes[1]) & 0x3FFF; }
inline int PackedValue(const QUILLET_EVENT& e) { return (e.bytes[2] << 7) | e.bytes[3]; }
inline int PitchBend(const QUILLET_EVENT& e) { return ((e.bytes[1] & 0x7F) - 64) * 128 | (e.bytes[0] & 0x7F); }

// The data block of a long event and its length; null and 0 for short
// kinds and for long events without a block.
const BYTE* EventData(const QUILLET_EVENT& e, size_t* length) noexcept;

// A MIDI Machine Control message: a system exclusive event (either kind)
// whose block (without the leading 0xF0) starts 0x7F, is longer than four
// bytes, ends with 0xF7 and has sub-id 6 (command) or 7 (response).
bool IsMmc(const QUILLET_EVENT& e) noexcept;
// An MMC message whose command byte is a transport command (1 to 9).
bool IsMmcTransport(const QUILLET_EVENT& e) noexcept;

}  // namespace quillet
