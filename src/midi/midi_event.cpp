#include "midi/midi_event.h"

#include <objbase.h>

#include <cstring>

namespace quillet {

void ClearEvent(QUILLET_EVENT* event) noexcept {
  if (!event) return;
  if (IsLongKind(event->type) && event->dataLength && event->data) CoTaskMemFree(event->data);
  memset(event, 0, sizeof(*event));
  event->type = QEV_NONE;
}

HRESULT CopyEvent(QUILLET_EVENT* dest, const QUILLET_EVENT* source) noexcept {
  if (!dest || !source) return E_POINTER;
  if (dest == source) return S_OK;
  *dest = *source;
  if (!IsLongKind(source->type) || !source->dataLength || !source->data) return S_OK;
  dest->data = static_cast<BYTE*>(CoTaskMemAlloc(source->dataLength));
  if (!dest->data) {
    memset(dest, 0, sizeof(*dest));
    dest->type = QEV_NONE;
    return E_OUTOFMEMORY;
  }
  memcpy(dest->data, source->data, source->dataLength);
  return S_OK;
}

QUILLET_EVENT ShortEvent(DWORD type, LONG channel, DWORD subTrack, LONGLONG time, BYTE byte0, BYTE byte1) noexcept {
  QUILLET_EVENT e{};
  e.type = type;
  e.channel = channel;
  e.subTrack = subTrack;
  e.time = time;
  e.bytes[0] = byte0;
  e.bytes[1] = byte1;
  return e;
}

const BYTE* EventData(const QUILLET_EVENT& e, size_t* length) noexcept {
  if (!IsLongKind(e.type) || !e.data || !e.dataLength) {
    if (length) *length = 0;
    return nullptr;
  }
  if (length) *length = e.dataLength;
  return e.data;
}

bool IsMmc(const QUILLET_EVENT& e) noexcept {
  if (e.type != QEV_SYSEX && e.type != QEV_SYSEX_CONT) return false;
  size_t length = 0;
  const BYTE* data = EventData(e, &length);
  if (!data || length <= 4) return false;
  return data[0] == 0x7F && data[length - 1] == 0xF7 && (data[2] == 6 || data[2] == 7);
}

bool IsMmcTransport(const QUILLET_EVENT& e) noexcept { return IsMmc(e) && e.data[3] >= 1 && e.data[3] <= 9; }

}  // namespace quillet
