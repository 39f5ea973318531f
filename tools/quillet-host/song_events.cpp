#include "song_events.h"


namespace tool {

namespace {
DWORD KindOfStatus(uint8_t status, const uint8_t data[2]) {
  switch (status & 0xF0) {
    case 0x80: return QEV_NOTE_OFF;
    case 0x90: return data[1] == 0 ? QEV_NOTE_OFF : QEV_NOTE;
    case 0xA0: return QEV_POLY_PRESSURE;
    case 0xB0: return QEV_CONTROL;
    case 0xC0: return QEV_PROGRAM;
    case 0xD0: return QEV_CHAN_PRESSURE;
    case 0xE0: return QEV_PITCH_BEND;
    default: break;
  }
  if (status == 0xF0) return QEV_SYSEX;
  if (status == 0xF7) return QEV_SYSEX_CONT;
  return QEV_META;
}

uint8_t StatusOfKind(DWORD type) {
  switch (type) {
    case QEV_NOTE_OFF: return 0x80;
    case QEV_NOTE: return 0x90;
    case QEV_POLY_PRESSURE: return 0xA0;
    case QEV_CONTROL: return 0xB0;
    case QEV_PROGRAM: return 0xC0;
    case QEV_CHAN_PRESSURE: return 0xD0;
    case QEV_PITCH_BEND: return 0xE0;
    default: return 0;
  }
}
}  // namespace

QUILLET_EVENT ToRecord(const smf::Song& song, const smf::Event& e, DWORD track, DWORD subTrack,
                       std::vector<BYTE>* scratch) {
  QUILLET_EVENT r{};
  r.type = KindOfStatus(e.status, e.data);
  r.time = e.tick;
  r.subTrack = subTrack;
  OriginTrack(r) = track;
  OriginStatus(r) = e.status;
  if (e.status < 0xF0) {
    r.channel = e.status & 0x0F;
    r.bytes[0] = e.data[0];
    r.bytes[1] = e.data[1];
    return r;
  }
  r.channel = -1;
  smf::Block block = song.Data(e);
  if (e.status == 0xFF) {  // the record's data starts with the meta type
    scratch->assign(1, e.metaType);
    scratch->insert(scratch->end(), block.data, block.data + block.size);
    r.data = scratch->data();
    r.dataLength = static_cast<DWORD>(scratch->size());
  } else if (block.size) {
    r.data = const_cast<BYTE*>(block.data);
    r.dataLength = block.size;
  }
  return r;
}

bool FromRecord(const QUILLET_EVENT& r, smf::Message* m) {
  const LONGLONG time = r.time < 0 ? 0 : r.time > 0xFFFFFFFFLL ? 0xFFFFFFFFLL : r.time;
  *m = smf::Message{};
  m->tick = static_cast<uint32_t>(time);
  if (r.type & QEV_SHORT_KINDS) {
    uint8_t status = StatusOfKind(r.type);
    if (!status || r.channel < 0 || r.channel > 15) return false;
    // A note off written as a note on with velocity 0 stays so.
    uint8_t original = static_cast<uint8_t>(r.reserved12[1]);
    if (r.type == QEV_NOTE_OFF && (original & 0xF0) == 0x90 && (r.bytes[1] & 0x7F) == 0) status = 0x90;
    m->status = static_cast<uint8_t>(status | r.channel);
    m->data[0] = r.bytes[0] & 0x7F;
    m->data[1] = smf::DataBytes(status) == 2 ? r.bytes[1] & 0x7F : 0;
    return true;
  }
  const BYTE* block = r.dataLength ? r.data : nullptr;
  if (r.type == QEV_META) {
    if (!block || (block[0] & 0x80)) return false;
    m->status = 0xFF;
    m->metaType = block[0];
    m->block = block + 1;
    m->size = r.dataLength - 1;
    return true;
  }
  if (r.type == QEV_SYSEX || r.type == QEV_SYSEX_CONT) {
    m->status = r.type == QEV_SYSEX ? 0xF0 : 0xF7;
    m->block = block;
    m->size = block ? r.dataLength : 0;
    return true;
  }
  return false;
}

bool ShiftPitch(QUILLET_EVENT& e, LONG semitones) {
  constexpr DWORD kNoteKinds = QEV_NOTE | QEV_NOTE_OFF | QEV_POLY_PRESSURE;
  constexpr LONG kDrumChannel = 9;
  if (!semitones || !(e.type & kNoteKinds) || e.channel == kDrumChannel) return true;
  const LONG note = (e.bytes[0] & 0x7F) + semitones;
  if (note < 0 || note > 127) return false;
  e.bytes[0] = static_cast<BYTE>(note);
  return true;
}

}  // namespace tool
