#include <cstring>

#include "hostkit.h"

namespace hostkit {

QUILLET_EVENT CopyEvent(const QUILLET_EVENT& e) {
  QUILLET_EVENT copy = e;
  if ((e.type & QEV_LONG_KINDS) && e.dataLength && e.data) {
    copy.data = static_cast<BYTE*>(CoTaskMemAlloc(e.dataLength));
    if (copy.data) memcpy(copy.data, e.data, e.dataLength);
    else copy.dataLength = 0;
  }
  return copy;
}

void FreeEvent(QUILLET_EVENT& e) {
  if ((e.type & QEV_LONG_KINDS) && e.dataLength && e.data) CoTaskMemFree(e.data);
  e.data = nullptr;
  e.dataLength = 0;
}

QUILLET_EVENT MakeShort(DWORD type, DWORD subTrack, LONG channel, LONGLONG time, BYTE b0, BYTE b1, BYTE b2) {
  QUILLET_EVENT e{};
  e.type = type;
  e.subTrack = subTrack;
  e.channel = channel;
  e.time = time;
  e.bytes[0] = b0;
  e.bytes[1] = b1;
  e.bytes[2] = b2;
  return e;
}

QUILLET_EVENT MakeLong(DWORD type, DWORD subTrack, LONGLONG time, const BYTE* data, DWORD length) {
  QUILLET_EVENT e{};
  e.type = type;
  e.subTrack = subTrack;
  e.channel = -1;
  e.time = time;
  e.dataLength = length;
  e.data = const_cast<BYTE*>(data);
  return CopyEvent(e);
}

}  // namespace hostkit
