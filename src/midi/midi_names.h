// Names of the MIDI vocabulary: event kinds and their colours, controllers,
// registered parameters, voices and voice sets, notes, keys, machine-control
// commands and sequencer-specific records.
//
// Every text producer writes at most `capacity` characters (terminator
// included), always terminates when capacity > 0, writes nothing for a
// null buffer or capacity <= 0, and returns the length written.
#pragma once
#include <windows.h>

namespace quillet::midi {

// Voice sets.
constexpr DWORD kVoiceSetGeneralMidi = 0x80000001u;
constexpr DWORD kVoiceSetXG = 0x80000002u;
constexpr DWORD kVoiceSetGS = 0x80000003u;

enum class Spelling { Sharps, Flats };

// One event kind: its type bit, name and colour in the event list.
struct KindInfo {
  DWORD type;
  UINT nameId;
  COLORREF colour;  // CLR_INVALID: no colour of its own
};
// The kind of `type` (exactly one known type bit); null otherwise.
const KindInfo* FindKind(DWORD type) noexcept;

// The type name; 0 (empty text) for anything but a single known type bit.
int TypeName(DWORD type, WCHAR* out, int capacity) noexcept;
// The colour of the kind in the event list; CLR_INVALID when it has none.
COLORREF EventColour(DWORD type) noexcept;

// Controller 0-127; other numbers name as "Undefined CC".
int ControllerName(int controller, WCHAR* out, int capacity) noexcept;
// Registered parameter `msb`:`lsb`; unlisted ones name as "Unknown RPN".
int RpnName(int msb, int lsb, WCHAR* out, int capacity) noexcept;
// S_OK with the set's name, S_FALSE with "Unknown Voice Set" for any other
// set; E_POINTER / E_INVALIDARG for a null buffer / capacity <= 0.
HRESULT VoiceSetName(DWORD set, WCHAR* out, int capacity) noexcept;
// Voice value: program in bits 0-6, bank LSB in bits 8-15, bank MSB in
// bits 16-23. General MIDI names the program; other sets show "bank:program".
int VoiceName(DWORD set, DWORD voice, WCHAR* out, int capacity) noexcept;
// Pitch name and octave ("C#5" for 61); 0 (empty text) for notes outside 0-127.
int NoteName(int note, Spelling spelling, WCHAR* out, int capacity) noexcept;
// Key of a key signature with `count` sharps (positive) or flats
// (negative); 0 (empty text) for counts outside -7..7.
int KeyName(int count, bool minor, WCHAR* out, int capacity) noexcept;
// Machine-control command name; 0 (empty text) for an unlisted command.
int MmcCommandName(int command, WCHAR* out, int capacity) noexcept;
// Name of a sequencer-specific record by its selector byte.
int SequencerRecordName(int selector, WCHAR* out, int capacity) noexcept;

}  // namespace quillet::midi
