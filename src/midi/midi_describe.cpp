// Event texts of the short kinds, and the dispatch to every kind's describer.
#include "midi/midi_describe.h"

#include "midi/midi_event.h"
#include "midi/midi_ids.h"
#include "midi/midi_names.h"
#include "midi/midi_text.h"

namespace quillet::midi {
namespace {

using ValueFn = HRESULT (*)(const QUILLET_EVENT& e, const FieldRequest& r);

// A kind's describer: its values (summary and fields 1-4) and the string
// ids of its four field labels (0: no label).
struct KindText {
  DWORD type;
  ValueFn values;
  UINT labels[4];
};

constexpr int kNoteCount = 128;

// A note's name; S_FALSE for notes without one.
HRESULT Note(const FieldRequest& r, int note, Spelling spelling) noexcept {
  if (note >= kNoteCount) return S_FALSE;
  NoteName(note, spelling, r.out, r.capacity);
  return S_OK;
}

HRESULT Print(const FieldRequest& r, UINT id, int value) noexcept {
  PrintId(r.out, r.capacity, id, value);
  return S_OK;
}

HRESULT Copy(const FieldRequest& r, UINT id) noexcept {
  CopyString(r.out, r.capacity, id);
  return S_OK;
}

// A caption followed by " (value)", or the bare number.
HRESULT Velocity(const FieldRequest& r, UINT caption, int value) noexcept {
  if (r.numeric) return Print(r, IDS_MIDI_FMT_NUMBER, value);
  CopyString(r.out, r.capacity, caption);
  AppendPrintId(r.out, r.capacity, IDS_MIDI_FMT_PAREN_NUMBER, value);
  return S_OK;
}

HRESULT NoteValues(const QUILLET_EVENT& e, const FieldRequest& r) noexcept {
  int note = e.bytes[0];
  switch (r.field) {
    case kSummary: {
      WCHAR name[16];
      NoteName(note, Spelling::Sharps, name, ARRAYSIZE(name));
      PrintId(r.out, r.capacity, IDS_MIDI_FMT_NOTE_SUMMARY, note, name);
      return S_OK;
    }
    case kField1:
      if (r.numeric) return Print(r, IDS_MIDI_FMT_PROGRAM, note);
      return Note(r, note, Spelling::Sharps);
    case kField2: return Velocity(r, IDS_MIDI_ON_VELOCITY, e.bytes[1]);
    case kField3: return Velocity(r, IDS_MIDI_OFF_VELOCITY, e.bytes[2]);
    default: return S_FALSE;  // field 4, the duration, is the event list's own column
  }
}

HRESULT PolyPressureValues(const QUILLET_EVENT& e, const FieldRequest& r) noexcept {
  int note = e.bytes[0];
  switch (r.field) {
    case kSummary: return Note(r, note, Spelling::Flats);
    case kField1:
      if (r.numeric) return Print(r, IDS_MIDI_FMT_PROGRAM, note);
      return Note(r, note, Spelling::Flats);
    case kField2: return Print(r, IDS_MIDI_FMT_NUMBER, e.bytes[1]);
    default: return S_FALSE;
  }
}

HRESULT ControlValues(const QUILLET_EVENT& e, const FieldRequest& r) noexcept {
  switch (r.field) {
    case kSummary:
      ControllerName(e.bytes[0], r.out, r.capacity);
      return S_OK;
    case kField1: return Print(r, IDS_MIDI_FMT_NUMBER, e.bytes[0]);
    case kField2: return Print(r, IDS_MIDI_FMT_NUMBER, e.bytes[1]);
    default: return S_FALSE;
  }
}

HRESULT ProgramValues(const QUILLET_EVENT& e, const FieldRequest& r) noexcept {
  return r.field == kSummary ? Print(r, IDS_MIDI_FMT_PROGRAM, e.bytes[0]) : S_FALSE;
}

HRESULT ChannelPressureValues(const QUILLET_EVENT& e, const FieldRequest& r) noexcept {
  switch (r.field) {
    case kSummary: return Copy(r, IDS_MIDI_TYPE_CHAN_PRESSURE);
    case kField1: return Print(r, IDS_MIDI_FMT_NUMBER, e.bytes[0]);
    default: return S_FALSE;
  }
}

HRESULT PitchBendValues(const QUILLET_EVENT& e, const FieldRequest& r) noexcept {
  switch (r.field) {
    case kSummary: return Copy(r, IDS_MIDI_TYPE_PITCH_BEND);
    case kField1: return Print(r, IDS_MIDI_FMT_NUMBER, PitchBend(e));
    default: return S_FALSE;
  }
}

HRESULT ParameterValues(const QUILLET_EVENT& e, const FieldRequest& r) noexcept {
  switch (r.field) {
    case kSummary:
      if (e.type == QEV_PACKED_RPN) {
        RpnName(e.bytes[0], e.bytes[1], r.out, r.capacity);
        return S_OK;
      }
      return Print(r, IDS_MIDI_FMT_PARAMETER, ParameterNumber(e));
    case kField1: return Print(r, IDS_MIDI_FMT_PARAMETER, ParameterNumber(e));
    case kField2: return Print(r, IDS_MIDI_FMT_PARAM_VALUE, PackedValue(e));
    default: return S_FALSE;
  }
}

// "MSB: 3" / "LSB: 1", or the bare byte.
HRESULT BankByte(const FieldRequest& r, UINT caption, int value) noexcept {
  if (r.numeric) return Print(r, IDS_MIDI_FMT_NUMBER, value);
  CopyString(r.out, r.capacity, caption);
  AppendPrintId(r.out, r.capacity, IDS_MIDI_FMT_COLON_NUMBER, value);
  return S_OK;
}

HRESULT PatchValues(const QUILLET_EVENT& e, const FieldRequest& r) noexcept {
  int msb = e.bytes[0], lsb = e.bytes[1], program = e.bytes[2];
  switch (r.field) {
    case kField1: return BankByte(r, IDS_MIDI_MSB, msb);
    case kField2: return BankByte(r, IDS_MIDI_LSB, lsb);
    case kField3: return Print(r, IDS_MIDI_FMT_PROGRAM, program);
    case kField4: {
      if (r.numeric) return Print(r, IDS_MIDI_FMT_PROGRAM, program);
      DWORD voice = static_cast<DWORD>(program) | static_cast<DWORD>(lsb) << 8 | static_cast<DWORD>(msb) << 16;
      VoiceName(kVoiceSetGeneralMidi, voice, r.out, r.capacity);
      return S_OK;
    }
    default: return S_FALSE;  // a patch has no summary of its own
  }
}

HRESULT SysexValues(const QUILLET_EVENT& e, const FieldRequest& r) noexcept { return DescribeSysex(e, r); }
HRESULT MetaValues(const QUILLET_EVENT& e, const FieldRequest& r) noexcept { return DescribeMeta(e, r); }

constexpr KindText kKindTexts[] = {
    {QEV_NOTE, NoteValues,
     {IDS_MIDI_LABEL_NOTE, IDS_MIDI_LABEL_ON_VELOCITY, IDS_MIDI_LABEL_OFF_VELOCITY, IDS_MIDI_LABEL_DURATION}},
    {QEV_NOTE_OFF, NoteValues,
     {IDS_MIDI_LABEL_NOTE, IDS_MIDI_LABEL_ON_VELOCITY, IDS_MIDI_LABEL_OFF_VELOCITY, IDS_MIDI_LABEL_DURATION}},
    {QEV_POLY_PRESSURE, PolyPressureValues, {IDS_MIDI_LABEL_NOTE, IDS_MIDI_LABEL_PRESSURE, 0, 0}},
    {QEV_CONTROL, ControlValues, {IDS_MIDI_LABEL_CONTROLLER, IDS_MIDI_LABEL_VALUE, 0, 0}},
    {QEV_PROGRAM, ProgramValues, {0, 0, 0, 0}},
    {QEV_CHAN_PRESSURE, ChannelPressureValues, {IDS_MIDI_LABEL_PRESSURE, 0, 0, 0}},
    {QEV_PITCH_BEND, PitchBendValues, {IDS_MIDI_LABEL_PITCH, 0, 0, 0}},
    {QEV_PACKED_NRPN, ParameterValues,
     {IDS_MIDI_LABEL_NRP_MSB, IDS_MIDI_LABEL_NRP_LSB, IDS_MIDI_LABEL_DATA_MSB, IDS_MIDI_LABEL_DATA_LSB}},
    {QEV_PACKED_RPN, ParameterValues, {0, 0, 0, 0}},
    {QEV_PATCH, PatchValues, {IDS_MIDI_LABEL_BANK_MSB, IDS_MIDI_LABEL_BANK_LSB, IDS_MIDI_LABEL_PATCH, 0}},
    {QEV_SYSEX, SysexValues, {0, 0, 0, 0}},
    {QEV_SYSEX_CONT, SysexValues, {0, 0, 0, 0}},
    {QEV_META, MetaValues, {0, 0, 0, 0}},
};

int LabelIndex(DWORD field) noexcept {
  switch (field) {
    case kLabel1: return 0;
    case kLabel2: return 1;
    case kLabel3: return 2;
    case kLabel4: return 3;
    default: return -1;
  }
}

bool IsValueField(DWORD field) noexcept {
  return field == kSummary || field == kField1 || field == kField2 || field == kField3 || field == kField4;
}

}  // namespace

HRESULT DescribeEvent(const QUILLET_EVENT* event, WCHAR* text, int capacity, DWORD selector) noexcept {
  if (!text) return E_POINTER;
  if (capacity <= 0) return E_INVALIDARG;
  text[0] = 0;
  if (!event) return E_POINTER;
  DWORD field = selector & ~kNumeric;
  if (field == kTypeName) {
    if (!FindKind(event->type)) return S_FALSE;
    TypeName(event->type, text, capacity);
    return S_OK;
  }
  const KindText* kind = nullptr;
  for (const KindText& k : kKindTexts)
    if (k.type == event->type) kind = &k;
  if (!kind) return S_FALSE;
  FieldRequest request{field, (selector & kNumeric) != 0 && field != kSummary, text, capacity};
  HRESULT hr = S_FALSE;
  if (int label = LabelIndex(field); label >= 0) {
    // The long kinds name their labels by their contents.
    if (IsLongKind(event->type)) hr = kind->values(*event, request);
    else if (kind->labels[label]) hr = Copy(request, kind->labels[label]);
  } else if (IsValueField(field)) {
    hr = kind->values(*event, request);
  }
  if (hr != S_OK) text[0] = 0;
  return hr;
}

}  // namespace quillet::midi
