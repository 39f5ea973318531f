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
  return key < QUILLET_SUBTRACKS ? s.byKey[key] : nullptr;
}

// A controller event for the sub-track at the buffer's start, on its
// channel or on each of the 16 channels; a sub-track on no valid channel
// gets none.
HRESULT InjectValue(const KnownSubTrack& sub, BYTE controller, BYTE value, IQuilletEventBuffer* buffer,
                    LONGLONG time) {
  HRESULT hr = S_OK;
  if (sub.channel < -1 || sub.channel > 15) return hr;
  LONG first = sub.channel < 0 ? 0 : sub.channel, last = sub.channel < 0 ? 15 : sub.channel;
  for (LONG channel = first; channel <= last && SUCCEEDED(hr); ++channel) {
    QUILLET_EVENT e = ShortEvent(QEV_CONTROL, channel, sub.key, time, controller, value);
    e.attribute = sub.attribute;
    hr = buffer->Insert(0, &e);
  }
  return hr;
}

BYTE OffsetValue(const ProcessState& s, const KnownSubTrack& sub, const Controller& ctl) {
  const QUILLET_MIX& mix = s.mix[sub.key];
  return static_cast<BYTE>(ApplyOffset(mix.*ctl.last, mix.*ctl.offset));
}

bool HasMixEntry(const KnownSubTrack& sub) { return sub.key != 0 && sub.key < QUILLET_SUBTRACKS; }

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
    if (!HasMixEntry(sub)) continue;
    QUILLET_MIX& mix = s.mix[sub.key];
    if (!(mix.*ctl.changed)) continue;
    mix.*ctl.changed = 0;
    hr = InjectValue(sub, ctl.number, OffsetValue(s, sub, ctl), buffer, start);
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

// The first buffer of a run starts every sub-track at its offset volume
// and pan. Those values are taken before the buffer's own events are
// looked at, and the events are inserted after the rewriting step, so that
// an injected value is never offset twice (nor counted as a value seen in
// the track). They go the way every control change goes when the playback
// filter removes control changes.
HRESULT ProcessPlayback(const ProcessState& s, IQuilletEventBuffer* buffer, const QUILLET_BUFFERINFO& info) noexcept {
  struct Start {
    BYTE volume, pan;
  } start[QUILLET_SUBTRACKS];
  const bool first = (info.flags & QBUF_FIRST) && !(s.playbackMask & QEV_CONTROL);
  if (first) {
    for (int i = 0; i < s.subTrackCount; ++i) {
      const KnownSubTrack& sub = s.subTracks[i];
      if (!HasMixEntry(sub)) continue;
      start[sub.key] = {OffsetValue(s, sub, kVolumeCtl), OffsetValue(s, sub, kPanCtl)};
      s.mix[sub.key].volumeChanged = s.mix[sub.key].panChanged = 0;  // covered by the start values
    }
  }
  HRESULT hr = S_OK;
  if (s.playbackMask) hr = RemoveFiltered(s.playbackMask, buffer);
  if (SUCCEEDED(hr)) hr = ApplyController(s, kVolumeCtl, buffer, info.start);
  if (SUCCEEDED(hr)) hr = ApplyController(s, kPanCtl, buffer, info.start);
  for (int i = 0; first && i < s.subTrackCount && SUCCEEDED(hr); ++i) {
    const KnownSubTrack& sub = s.subTracks[i];
    if (!HasMixEntry(sub)) continue;
    hr = InjectValue(sub, kVolume, start[sub.key].volume, buffer, info.start);
    if (SUCCEEDED(hr)) hr = InjectValue(sub, kPan, start[sub.key].pan, buffer, info.start);
  }
  return (info.flags & QBUF_FORCE_OK) ? S_OK : hr;
}

}  // namespace quillet
