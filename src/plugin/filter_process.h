// The filter's buffer rules: playback filtering and volume and pan
// offsets. Plain logic over the event-buffer interface and the mix table.
#pragma once
#include "quillet/plugin.h"

namespace quillet {

struct KnownSubTrack {
  DWORD key;       // 1..255: also the index of its mix entry
  LONG channel;    // -1: every channel
  DWORD attribute;
};

struct ProcessState {
  DWORD playbackMask;
  QUILLET_MIX* mix;                // QUILLET_SUBTRACKS entries
  const KnownSubTrack* subTracks;  // the known sub-tracks with a mix entry (keys 1..255)
  int subTrackCount;
  const KnownSubTrack* const* byKey;  // QUILLET_SUBTRACKS entries: the sub-track of a key, or null
};

// Offset applied to a 0..127 value: clamp(value + trunc(offset * 127), 0, 127).
int ApplyOffset(int value, float offset) noexcept;

// One playback buffer (not the input pass).
HRESULT ProcessPlayback(const ProcessState& state, IQuilletEventBuffer* buffer,
                        const QUILLET_BUFFERINFO& info) noexcept;

}  // namespace quillet
