#include "midi/midi_names.h"

#include "core/text_copy.h"
#include "midi/midi_ids.h"
#include "midi/midi_text.h"
#include "quillet/event.h"
#include "text/printer.h"

namespace quillet::midi {
namespace {

constexpr KindInfo kKinds[] = {
    {QEV_NONE, IDS_MIDI_TYPE_NONE, CLR_INVALID},
    {QEV_PACKED_NRPN, IDS_MIDI_TYPE_PACKED_NRPN, 0xB88256},
    {QEV_PACKED_RPN, IDS_MIDI_TYPE_PACKED_RPN, 0xB88256},
    {QEV_PATCH, IDS_MIDI_TYPE_PATCH, 0x429600},
    {QEV_SHORT_MSG, IDS_MIDI_TYPE_SHORT_MSG, CLR_INVALID},
    {QEV_NOTE_OFF, IDS_MIDI_TYPE_NOTE_OFF, 0x000000},
    {QEV_NOTE, IDS_MIDI_TYPE_NOTE, 0x000000},
    {QEV_POLY_PRESSURE, IDS_MIDI_TYPE_POLY_PRESSURE, 0xB43400},
    {QEV_CONTROL, IDS_MIDI_TYPE_CONTROL, 0x96580A},
    {QEV_PROGRAM, IDS_MIDI_TYPE_PROGRAM, 0x429600},
    {QEV_CHAN_PRESSURE, IDS_MIDI_TYPE_CHAN_PRESSURE, 0xB43400},
    {QEV_PITCH_BEND, IDS_MIDI_TYPE_PITCH_BEND, 0x965063},
    {QEV_SYSEX, IDS_MIDI_TYPE_SYSEX, 0x5B8700},
    {QEV_SYSEX_CONT, IDS_MIDI_TYPE_SYSEX_CONT, 0x5B8700},
    {QEV_MCI, IDS_MIDI_TYPE_MCI, CLR_INVALID},
    {QEV_LONG_MSG, IDS_MIDI_TYPE_LONG_MSG, CLR_INVALID},
    {QEV_META, IDS_MIDI_TYPE_META, 0x6051A3},
    {QEV_WAVE, IDS_MIDI_TYPE_WAVE, CLR_INVALID},
};

struct VoiceSet {
  DWORD id;
  UINT nameId;
};
constexpr VoiceSet kVoiceSets[] = {
    {kVoiceSetGeneralMidi, IDS_MIDI_VOICESET_GM},
    {kVoiceSetXG, IDS_MIDI_VOICESET_XG},
    {kVoiceSetGS, IDS_MIDI_VOICESET_GS},
};

const WCHAR* const kSharpNames[12] = {L"C", L"C#", L"D", L"D#", L"E", L"F",
                                      L"F#", L"G", L"G#", L"A", L"A#", L"B"};
const WCHAR* const kFlatNames[12] = {L"C", L"Db", L"D", L"Eb", L"E", L"F",
                                     L"Gb", L"G", L"Ab", L"A", L"Bb", L"B"};

// Keys by the number of sharps or flats (0-7), major and minor.
const WCHAR* const kSharpKeys[2][8] = {{L"C", L"G", L"D", L"A", L"E", L"B", L"F#", L"C#"},
                                       {L"A", L"E", L"B", L"F#", L"C#", L"G#", L"D#", L"A#"}};
const WCHAR* const kFlatKeys[2][8] = {{L"C", L"F", L"Bb", L"Eb", L"Ab", L"Db", L"Gb", L"Cb"},
                                      {L"A", L"D", L"G", L"C", L"F", L"Bb", L"Eb", L"Ab"}};

// Machine-control commands; their names are consecutive strings.
constexpr BYTE kMmcCommands[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A,
                                 0x0B, 0x0C, 0x0D, 0x44, 0x45, 0x46, 0x47, 0x48, 0x54, 0x55};
static_assert(ARRAYSIZE(kMmcCommands) == IDS_MIDI_MMC_LAST - IDS_MIDI_MMC_FIRST + 1);

struct RecordName {
  int selector;
  UINT nameId;
};
constexpr RecordName kSequencerRecords[] = {
    {1, IDS_MIDI_SEQSPEC_DLS},
    {3, IDS_MIDI_SEQSPEC_KEYNOTE},
    {4, IDS_MIDI_SEQSPEC_TRACK_ATTR},
    {5, IDS_MIDI_SEQSPEC_SUMMARY},
};

constexpr int kRpnCount = IDS_MIDI_RPN_LAST - IDS_MIDI_RPN_FIRST + 1;

bool Writable(const WCHAR* out, int capacity) noexcept { return out && capacity > 0; }

int Empty(WCHAR* out, int capacity) noexcept {
  if (Writable(out, capacity)) out[0] = 0;
  return 0;
}

}  // namespace

const KindInfo* FindKind(DWORD type) noexcept {
  for (const KindInfo& kind : kKinds)
    if (kind.type == type) return &kind;
  return nullptr;
}

int TypeName(DWORD type, WCHAR* out, int capacity) noexcept {
  const KindInfo* kind = FindKind(type);
  if (!kind) return Empty(out, capacity);
  return CopyString(out, capacity, kind->nameId);
}

COLORREF EventColour(DWORD type) noexcept {
  const KindInfo* kind = FindKind(type);
  return kind ? kind->colour : CLR_INVALID;
}

int ControllerName(int controller, WCHAR* out, int capacity) noexcept {
  UINT id = controller >= 0 && controller < 128 ? IDS_MIDI_CONTROLLER_FIRST + controller
                                                : IDS_MIDI_CONTROLLER_UNDEFINED;
  return CopyString(out, capacity, id);
}

int RpnName(int msb, int lsb, WCHAR* out, int capacity) noexcept {
  UINT id = msb == 0 && lsb >= 0 && lsb < kRpnCount ? IDS_MIDI_RPN_FIRST + lsb : IDS_MIDI_RPN_UNKNOWN;
  return CopyString(out, capacity, id);
}

HRESULT VoiceSetName(DWORD set, WCHAR* out, int capacity) noexcept {
  if (!out) return E_POINTER;
  if (capacity <= 0) return E_INVALIDARG;
  for (const VoiceSet& known : kVoiceSets) {
    if (known.id == set) {
      CopyString(out, capacity, known.nameId);
      return S_OK;
    }
  }
  CopyString(out, capacity, IDS_MIDI_VOICESET_UNKNOWN);
  return S_FALSE;
}

int VoiceName(DWORD set, DWORD voice, WCHAR* out, int capacity) noexcept {
  int program = static_cast<int>(voice & 0x7F);
  if (set == kVoiceSetGeneralMidi) return CopyString(out, capacity, IDS_MIDI_GM_VOICE_FIRST + program);
  int bank = static_cast<int>((voice >> 8) & 0xFF) + 128 * static_cast<int>((voice >> 16) & 0xFF);
  if (!Writable(out, capacity)) return 0;
  return zq::text::PrintBounded(out, capacity, L"%d:%d", bank, program);
}

int NoteName(int note, Spelling spelling, WCHAR* out, int capacity) noexcept {
  if (note < 0 || note > 127) return Empty(out, capacity);
  if (!Writable(out, capacity)) return 0;
  const WCHAR* const* names = spelling == Spelling::Flats ? kFlatNames : kSharpNames;
  return zq::text::PrintBounded(out, capacity, L"%s%d", names[note % 12], note / 12);
}

int KeyName(int count, bool minor, WCHAR* out, int capacity) noexcept {
  if (count < -7 || count > 7) return Empty(out, capacity);
  const WCHAR* name = count >= 0 ? kSharpKeys[minor][count] : kFlatKeys[minor][-count];
  if (!Writable(out, capacity)) return 0;
  return zq::core::CopyText(out, capacity, name);
}

int MmcCommandName(int command, WCHAR* out, int capacity) noexcept {
  for (size_t i = 0; i < ARRAYSIZE(kMmcCommands); ++i)
    if (kMmcCommands[i] == command) return CopyString(out, capacity, IDS_MIDI_MMC_FIRST + static_cast<UINT>(i));
  return Empty(out, capacity);
}

int SequencerRecordName(int selector, WCHAR* out, int capacity) noexcept {
  for (const RecordName& record : kSequencerRecords)
    if (record.selector == selector) return CopyString(out, capacity, record.nameId);
  return PrintId(out, capacity, IDS_MIDI_SEQSPEC_UNDEFINED, selector);
}

}  // namespace quillet::midi
