#include "plugin/filter_process.h"

#include <cmath>

#include "midi/midi_event.h"

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

// One pass over the buffer: events of the playback filter's kinds go;
// controller 7 and 10 events of known sub-tracks are remembered as the
// last seen values and rewritten by their offsets. `rewritten` tells, per
// controller, whether any was.
HRESULT FilterAndRewrite(const ProcessState& s, IQuilletEventBuffer* buffer, bool rewritten[2]) {
  const DWORD mask = s.playbackMask | QEV_CONTROL;
  DWORD position = 0;
  BOOL more = FALSE;
  QUILLET_EVENT e;
  HRESULT hr = buffer->FindFirst(&position, &e, &more, mask);
  while (hr == S_OK) {
    if (e.type & s.playbackMask) {
      ClearEvent(&e);
      hr = buffer->Delete(position);
      if (FAILED(hr)) return hr;
    } else if (e.type == QEV_CONTROL && (e.bytes[0] == kVolume || e.bytes[0] == kPan)) {
      const Controller& ctl = e.bytes[0] == kVolume ? kVolumeCtl : kPanCtl;
      if (const KnownSubTrack* sub = Find(s, e.subTrack)) {
        QUILLET_MIX& mix = s.mix[sub->key];
        const int value = e.bytes[1] > 127 ? 127 : e.bytes[1];  // a data byte beyond MIDI's range
        mix.*ctl.last = value;
        e.bytes[1] = static_cast<BYTE>(ApplyOffset(value, mix.*ctl.offset));
        hr = buffer->Replace(position, &e);
        if (FAILED(hr)) return hr;
        rewritten[&ctl == &kPanCtl] = true;
      }
    }
    hr = buffer->FindNext(&position, &e, &more, mask);
  }
  return FAILED(hr) ? hr : S_OK;
}

// When no event of the buffer carried the controller, sub-tracks whose
// offset changed get one at the buffer's start.
HRESULT InjectChanged(const ProcessState& s, const Controller& ctl, IQuilletEventBuffer* buffer, LONGLONG start) {
  HRESULT hr = S_OK;
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
  bool rewritten[2] = {false, false};
  HRESULT hr = FilterAndRewrite(s, buffer, rewritten);
  if (SUCCEEDED(hr) && !rewritten[0]) hr = InjectChanged(s, kVolumeCtl, buffer, info.start);
  if (SUCCEEDED(hr) && !rewritten[1]) hr = InjectChanged(s, kPanCtl, buffer, info.start);
  for (int i = 0; first && i < s.subTrackCount && SUCCEEDED(hr); ++i) {
    const KnownSubTrack& sub = s.subTracks[i];
    if (!HasMixEntry(sub)) continue;
    hr = InjectValue(sub, kVolume, start[sub.key].volume, buffer, info.start);
    if (SUCCEEDED(hr)) hr = InjectValue(sub, kPan, start[sub.key].pan, buffer, info.start);
  }
  return (info.flags & QBUF_FORCE_OK) ? S_OK : hr;
}

}  // namespace quillet
