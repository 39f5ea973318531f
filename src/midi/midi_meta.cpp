// Text of meta events: byte 0 of the data block is the meta type, the rest
// its data. Every value checks the block's length before reading a byte.
#include <cmath>

#include "core/text_copy.h"
#include "midi/midi_describe.h"
#include "midi/midi_event.h"
#include "midi/midi_ids.h"
#include "midi/midi_names.h"
#include "midi/midi_text.h"

namespace quillet::midi {
namespace {

constexpr UINT kSameAsSummary = 0xFFFFFFFFu;

// A meta type, its summary and the string ids of its four field labels
// (0: no label).
struct MetaKind {
  BYTE type;
  UINT summary;
  UINT labels[4];
};

constexpr BYTE kSequenceNumber = 0x00, kTextFirst = 0x01, kTextLast = 0x07, kChannelPrefix = 0x20,
               kTempo = 0x51, kSmpteOffset = 0x54, kTimeSignature = 0x58, kKeySignature = 0x59,
               kSequencerSpecific = 0x7F;

constexpr MetaKind kMetaKinds[] = {
    {kSequenceNumber, IDS_MIDI_META_SEQ_NUMBER, {IDS_MIDI_META_SEQ_NUMBER_LABEL, 0, 0, 0}},
    {0x01, IDS_MIDI_META_TEXT, {0, 0, 0, IDS_MIDI_META_TEXT_LABEL}},
    {0x02, IDS_MIDI_META_COPYRIGHT, {0, 0, 0, IDS_MIDI_META_COPYRIGHT_LABEL}},
    {0x03, IDS_MIDI_META_SEQ_NAME, {0, 0, 0, IDS_MIDI_META_TRACK_NAME}},
    {0x04, IDS_MIDI_META_INSTRUMENT, {0, 0, 0, kSameAsSummary}},
    {0x05, IDS_MIDI_META_LYRIC, {0, 0, 0, kSameAsSummary}},
    {0x06, IDS_MIDI_META_MARKER, {0, 0, 0, kSameAsSummary}},
    {0x07, IDS_MIDI_META_CUE_POINT, {0, 0, 0, kSameAsSummary}},
    {kChannelPrefix, IDS_MIDI_META_CHAN_PREFIX, {IDS_MIDI_META_CHAN_PREFIX_LABEL, 0, 0, 0}},
    {0x2F, IDS_MIDI_META_END_OF_TRACK, {0, 0, 0, 0}},
    {kTempo, IDS_MIDI_META_TEMPO, {IDS_MIDI_META_TEMPO_LABEL, 0, 0, 0}},
    {kSmpteOffset, IDS_MIDI_META_SMPTE, {IDS_MIDI_META_SMPTE_LABEL, 0, 0, 0}},
    {kTimeSignature, IDS_MIDI_META_TIME_SIG, {IDS_MIDI_META_TIME_SIG_LABEL, 0, 0, 0}},
    {kKeySignature, IDS_MIDI_META_KEY_SIG, {IDS_MIDI_META_KEY_SIG_LABEL, IDS_MIDI_META_MAJOR_MINOR_LABEL, 0, 0}},
    // The label of field 4 depends on the record (see SequencerSpecific).
    {kSequencerSpecific, IDS_MIDI_META_SEQ_SPECIFIC, {0, 0, 0, 0}},
};

const MetaKind* FindMeta(BYTE type) noexcept {
  for (const MetaKind& kind : kMetaKinds)
    if (kind.type == type) return &kind;
  return nullptr;
}

// The block of a meta event: type byte and data.
struct Block {
  const BYTE* bytes;
  size_t length;
  bool Has(size_t index) const noexcept { return index < length; }
};

constexpr size_t kTextLimit = 259;  // bytes of a text event shown

HRESULT Number(const FieldRequest& r, int value) noexcept {
  PrintId(r.out, r.capacity, IDS_MIDI_FMT_NUMBER, value);
  return S_OK;
}

// Text events are ANSI text in the system code page.
HRESULT Text(const Block& b, const FieldRequest& r) noexcept {
  if (!b.Has(1)) return S_FALSE;
  int bytes = static_cast<int>(b.length - 1 < kTextLimit ? b.length - 1 : kTextLimit);
  WCHAR wide[kTextLimit + 1];
  int chars = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(b.bytes + 1), bytes, wide, kTextLimit);
  if (chars <= 0) return S_FALSE;
  wide[chars] = 0;
  zq::core::CopyText(r.out, r.capacity, wide);
  return S_OK;
}

// Beats per minute from microseconds per quarter; none for a tempo of 0.
HRESULT Tempo(const Block& b, const FieldRequest& r) noexcept {
  if (!b.Has(3)) return S_FALSE;
  DWORD micros = static_cast<DWORD>(b.bytes[1]) << 16 | static_cast<DWORD>(b.bytes[2]) << 8 | b.bytes[3];
  if (micros == 0) return S_FALSE;
  double bpm = std::round(60000000.0 / micros * 1000.0) / 1000.0;
  PrintId(r.out, r.capacity, IDS_MIDI_FMT_BPM, bpm);
  return S_OK;
}

HRESULT SmpteOffset(const Block& b, const FieldRequest& r) noexcept {
  if (!b.Has(5)) return S_FALSE;
  PrintId(r.out, r.capacity, IDS_MIDI_FMT_SMPTE, b.bytes[1], b.bytes[2], b.bytes[3], b.bytes[4], b.bytes[5]);
  return S_OK;
}

// Numerator (above 16 shows 4) over 2 to the power of the exponent (0 shows
// 4); an exponent whose power does not fit an int has no text.
HRESULT TimeSignature(const Block& b, const FieldRequest& r) noexcept {
  constexpr int kMaxNumerator = 16, kMaxExponent = 30;
  if (!b.Has(2)) return S_FALSE;
  int numerator = b.bytes[1] <= kMaxNumerator ? b.bytes[1] : 4;
  int exponent = b.bytes[2];
  if (exponent > kMaxExponent) return S_FALSE;
  int denominator = exponent == 0 ? 4 : 1 << exponent;
  PrintId(r.out, r.capacity, IDS_MIDI_FMT_TIME_SIG, numerator, denominator);
  return S_OK;
}

HRESULT KeySignature(const Block& b, const FieldRequest& r) noexcept {
  if (!b.Has(2)) return S_FALSE;
  bool minor = b.bytes[2] != 0;
  if (r.field == kField2) {
    CopyString(r.out, r.capacity, minor ? IDS_MIDI_MINOR : IDS_MIDI_MAJOR);
    return S_OK;
  }
  int count = static_cast<signed char>(b.bytes[1]);
  if (count < -7 || count > 7) return S_FALSE;  // no such key
  KeyName(count, minor, r.out, r.capacity);
  return S_OK;
}

// Records of the sequencer's own: data 0x00 0x01 0x0B, then a selector.
HRESULT SequencerSpecific(const Block& b, const FieldRequest& r) noexcept {
  const BYTE* data = b.bytes + 1;
  size_t length = b.length - 1;
  if (length >= 4 && data[0] == 0x00 && data[1] == 0x01 && data[2] == 0x0B) {
    SequencerRecordName(data[3], r.out, r.capacity);
    return S_OK;
  }
  if (r.field == kLabel4) {
    CopyString(r.out, r.capacity, IDS_MIDI_META_SEQ_SPECIFIC);
    return S_OK;
  }
  if (length == 0) return S_FALSE;
  HexDump(data, length, r.out, r.capacity);
  return S_OK;
}

// Meta types without a name: up to five bytes show byte by byte, longer
// blocks as a hex dump of their data.
HRESULT UnknownMeta(const Block& b, const FieldRequest& r) noexcept {
  constexpr size_t kShortBlock = 5;
  switch (r.field) {
    case kSummary:
      PrintId(r.out, r.capacity, IDS_MIDI_META_UNKNOWN, b.bytes[0]);
      return S_OK;
    case kField1:
    case kField2:
    case kField3: {
      size_t index = r.field == kField1 ? 1 : r.field == kField2 ? 2 : 3;
      if (!b.Has(index) || b.length > kShortBlock) return S_FALSE;
      return Number(r, b.bytes[index]);
    }
    case kField4:
      if (b.length == kShortBlock) return Number(r, b.bytes[4]);
      if (b.length > kShortBlock) {
        HexDump(b.bytes + 1, b.length - 1, r.out, r.capacity);
        return S_OK;
      }
      return S_FALSE;
    default: return S_FALSE;
  }
}

HRESULT Label(const MetaKind& kind, const Block& b, const FieldRequest& r) noexcept {
  int index = r.field == kLabel1 ? 0 : r.field == kLabel2 ? 1 : r.field == kLabel3 ? 2 : 3;
  if (kind.type == kSequencerSpecific && r.field == kLabel4) return SequencerSpecific(b, r);
  UINT id = kind.labels[index];
  if (!id) return S_FALSE;
  CopyString(r.out, r.capacity, id == kSameAsSummary ? kind.summary : id);
  return S_OK;
}

HRESULT Value(const MetaKind& kind, const Block& b, const FieldRequest& r) noexcept {
  BYTE type = kind.type;
  if (type >= kTextFirst && type <= kTextLast) return r.field == kField4 ? Text(b, r) : S_FALSE;
  switch (type) {
    case kSequenceNumber:
      if (r.field != kField1 || !b.Has(2)) return S_FALSE;
      return Number(r, b.bytes[1] * 256 + b.bytes[2]);
    case kChannelPrefix:
      if (r.field != kField1 || !b.Has(1)) return S_FALSE;
      return Number(r, b.bytes[1]);
    case kTempo: return r.field == kField1 ? Tempo(b, r) : S_FALSE;
    case kSmpteOffset: return r.field == kField1 ? SmpteOffset(b, r) : S_FALSE;
    case kTimeSignature: return r.field == kField1 ? TimeSignature(b, r) : S_FALSE;
    case kKeySignature: return r.field == kField1 || r.field == kField2 ? KeySignature(b, r) : S_FALSE;
    case kSequencerSpecific: return r.field == kField4 ? SequencerSpecific(b, r) : S_FALSE;
    default: return S_FALSE;
  }
}

}  // namespace

HRESULT DescribeMeta(const QUILLET_EVENT& event, const FieldRequest& r) noexcept {
  Block b{};
  b.bytes = EventData(event, &b.length);
  if (!b.bytes) return S_FALSE;  // no block, or an empty one
  const MetaKind* kind = FindMeta(b.bytes[0]);
  if (!kind) return UnknownMeta(b, r);
  if (r.field == kSummary) {
    CopyString(r.out, r.capacity, kind->summary);
    return S_OK;
  }
  if (r.field >= kLabel1 && r.field <= kLabel4) return Label(*kind, b, r);
  return Value(*kind, b, r);
}

}  // namespace quillet::midi
