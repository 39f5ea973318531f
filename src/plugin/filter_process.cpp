#include "plugin/filter_process.h"

#include <cmath>

#include "plugin/midi_event.h"

namespace quillet {
namespace {

constexpr BYTE kVolume = 7, kPan = 10;

struct Controller {
  BYTE number;
  float QUILLET_MIX::*offset;
  LONG QUILLET_MIX::*changed;
  LONG QUILLET_MIX::*last;
};
constexpr Controller kVolumeCtl{kVolume, &QUILLET_MIX::volumeOffset, &QUILLET_MIX::volumeChanged,
                                &QUILLET_MIX::lastVolume};
constexpr Controller kPanCtl{kPan, &QUILLET_MIX::panOffset, &QUILLET_MIX::panChanged, &QUILLET_MIX::lastPan};

const KnownSubTrack* Find(const ProcessState& s, DWORD key) {
  if (key == 0 || key >= QUILLET_SUBTRACKS) return nullptr;
  for (int i = 0; i < s.subTrackCount; ++i)
    if (s.subTracks[i].key == key) return &s.subTracks[i];
  return nullptr;
}

// A controller event for the sub-track at the buffer's start, on its
// channel or on each of the 16 channels.
HRESULT InjectController(const ProcessState& s, const KnownSubTrack& sub, const Controller& ctl,
                         IQuilletEventBuffer* buffer, LONGLONG time) {
  const QUILLET_MIX& mix = s.mix[sub.key];
  BYTE value = static_cast<BYTE>(ApplyOffset(mix.*ctl.last, mix.*ctl.offset));
  HRESULT hr = S_OK;
  LONG first = sub.channel < 0 ? 0 : sub.channel, last = sub.channel < 0 ? 15 : sub.channel;
  for (LONG channel = first; channel <= last && SUCCEEDED(hr); ++channel) {
    QUILLET_EVENT e = ShortEvent(QEV_CONTROL, channel, sub.key, time, ctl.number, value);
    e.attribute = sub.attribute;
    hr = buffer->Insert(0, &e);
  }
  return hr;
}

HRESULT RemoveFiltered(DWORD mask, IQuilletEventBuffer* buffer) {
  DWORD position = 0;
  BOOL more = FALSE;
  QUILLET_EVENT e{};
  HRESULT hr = buffer->FindFirst(&position, &e, &more, mask);
  while (hr == S_OK) {
    ClearEvent(&e);
    hr = buffer->Delete(position);
    if (FAILED(hr)) return hr;
    hr = buffer->FindNext(&position, &e, &more, mask);
  }
  return FAILED(hr) ? hr : S_OK;
}

HRESULT ApplyController(const ProcessState& s, const Controller& ctl, IQuilletEventBuffer* buffer,
                        LONGLONG start) {
  bool rewritten = false;
  DWORD position = 0;
  BOOL more = FALSE;
  QUILLET_EVENT e{};
  HRESULT hr = buffer->FindFirst(&position, &e, &more, QEV_CONTROL);
  while (hr == S_OK) {
    const KnownSubTrack* sub = e.bytes[0] == ctl.number ? Find(s, e.subTrack) : nullptr;
    if (sub) {
      QUILLET_MIX& mix = s.mix[sub->key];
      mix.*ctl.last = e.bytes[1];
      e.bytes[1] = static_cast<BYTE>(ApplyOffset(e.bytes[1], mix.*ctl.offset));
      hr = buffer->Replace(position, &e);
      if (FAILED(hr)) return hr;
      rewritten = true;
    }
    hr = buffer->FindNext(&position, &e, &more, QEV_CONTROL);
  }
  if (FAILED(hr)) return hr;
  hr = S_OK;
  if (rewritten) return hr;
  for (int i = 0; i < s.subTrackCount && SUCCEEDED(hr); ++i) {
    const KnownSubTrack& sub = s.subTracks[i];
    if (sub.key == 0 || sub.key >= QUILLET_SUBTRACKS) continue;
    QUILLET_MIX& mix = s.mix[sub.key];
    if (!(mix.*ctl.changed)) continue;
    mix.*ctl.changed = 0;
    hr = InjectController(s, sub, ctl, buffer, start);
  }
  return hr;
}

}  // namespace

int ApplyOffset(int value, float offset) noexcept {
  if (!std::isfinite(offset)) offset = 0;
  if (offset > 1) offset = 1;
  if (offset < -1) offset = -1;
  int v = value + static_cast<int>(offset * 127.0f);
  return v < 0 ? 0 : v > 127 ? 127 : v;
}

HRESULT ProcessPlayback(const ProcessState& s, IQuilletEventBuffer* buffer, const QUILLET_BUFFERINFO& info) noexcept {
  HRESULT hr = S_OK;
  if (info.flags & QBUF_FIRST) {
    for (int i = 0; i < s.subTrackCount && SUCCEEDED(hr); ++i) {
      const KnownSubTrack& sub = s.subTracks[i];
      if (sub.key == 0 || sub.key >= QUILLET_SUBTRACKS) continue;
      hr = InjectController(s, sub, kVolumeCtl, buffer, info.start);
      if (SUCCEEDED(hr)) hr = InjectController(s, sub, kPanCtl, buffer, info.start);
    }
  }
  if (s.playbackMask) hr = RemoveFiltered(s.playbackMask, buffer);
  hr = ApplyController(s, kVolumeCtl, buffer, info.start);
  hr = ApplyController(s, kPanCtl, buffer, info.start);
  return (info.flags & QBUF_FORCE_OK) ? S_OK : hr;
}

}  // namespace quillet
