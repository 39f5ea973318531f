#include "song_events.h"

#include <objbase.h>

#include <cstring>

namespace tool {

namespace {
DWORD KindOfStatus(uint8_t status, const std::vector<uint8_t>& data) {
  switch (status & 0xF0) {
    case 0x80: return QEV_NOTE_OFF;
    case 0x90: return data.size() > 1 && data[1] == 0 ? QEV_NOTE_OFF : QEV_NOTE;
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

QUILLET_EVENT ToRecord(const smf::Event& e, DWORD track, DWORD subTrack) {
  QUILLET_EVENT r{};
  r.type = KindOfStatus(e.status, e.data);
  r.time = e.tick;
  r.subTrack = subTrack;
  OriginTrack(r) = track;
  OriginStatus(r) = e.status;
  if (e.status < 0xF0) {
    r.channel = e.status & 0x0F;
    for (size_t i = 0; i < e.data.size() && i < 4; ++i) r.bytes[i] = e.data[i];
    return r;
  }
  r.channel = -1;
  std::vector<uint8_t> block;
  if (e.status == 0xFF) block.push_back(e.metaType);
  block.insert(block.end(), e.data.begin(), e.data.end());
  if (!block.empty()) {
    r.data = static_cast<BYTE*>(CoTaskMemAlloc(block.size()));
    if (r.data) {
      memcpy(r.data, block.data(), block.size());
      r.dataLength = static_cast<DWORD>(block.size());
    }
  }
  return r;
}

bool FromRecord(const QUILLET_EVENT& r, smf::Event* e) {
  e->tick = static_cast<uint32_t>(r.time < 0 ? 0 : r.time);
  e->data.clear();
  if (r.type & QEV_SHORT_KINDS) {
    uint8_t status = StatusOfKind(r.type);
    if (!status || r.channel < 0 || r.channel > 15) return false;
    // A note off written as a note on with velocity 0 stays so.
    uint8_t original = static_cast<uint8_t>(const_cast<QUILLET_EVENT&>(r).reserved12[1]);
    if (r.type == QEV_NOTE_OFF && (original & 0xF0) == 0x90) status = 0x90;
    e->status = static_cast<uint8_t>(status | r.channel);
    int count = (status == 0xC0 || status == 0xD0) ? 1 : 2;
    for (int i = 0; i < count; ++i) e->data.push_back(r.bytes[i] & 0x7F);
    return true;
  }
  const BYTE* block = r.dataLength ? r.data : nullptr;
  if (r.type == QEV_META) {
    if (!block) return false;
    e->status = 0xFF;
    e->metaType = block[0];
    e->data.assign(block + 1, block + r.dataLength);
    return true;
  }
  if (r.type == QEV_SYSEX || r.type == QEV_SYSEX_CONT) {
    e->status = r.type == QEV_SYSEX ? 0xF0 : 0xF7;
    if (block) e->data.assign(block, block + r.dataLength);
    return true;
  }
  return false;
}

}  // namespace tool
