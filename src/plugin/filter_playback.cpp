// The processing entry: the input pass while recording, and playback.
#include "plugin/filter_object.h"
#include "midi/midi_event.h"

namespace quillet {

HRESULT FilterObject::Process(IQuilletEventBuffer* buffer, QUILLET_BUFFERINFO* info) noexcept {
  if (!buffer || !info) return E_POINTER;
  if (track_) {
    hostThread_ = GetCurrentThreadId();
    RunArrivals();
  }
  if (info->flags & QBUF_INPUT) return InputPass(buffer);
  if (!(info->flags & QBUF_PLAYBACK)) return S_OK;
  if (!(flags_ & kSubTrackListBuilt) && track_) BuildSubTrackList();

  // Sub-tracks outside the mix table (key 0, 256 and up) are not known here.
  KnownSubTrack known[QUILLET_SUBTRACKS];
  const KnownSubTrack* byKey[QUILLET_SUBTRACKS] = {};
  int count = 0;
  for (LONG i = 0; subTracks_ && i < subTracks_->count && count < QUILLET_SUBTRACKS; ++i) {
    const SubTrackItem* item = static_cast<SubTrackItem*>(ZQLIST_SLOT(subTracks_, i));
    if (item->key == 0 || item->key >= QUILLET_SUBTRACKS || byKey[item->key]) continue;
    known[count] = {item->key, item->channel, 0};
    byKey[item->key] = &known[count++];
  }
  ProcessState state{playbackMask_, mix_, known, count, byKey};
  return ProcessPlayback(state, buffer, *info);
}

// Short messages arriving for the record target are kept for the page.
HRESULT FilterObject::InputPass(IQuilletEventBuffer* buffer) noexcept {
  if (recording_ && observer_ && recordTarget_ != -1) {
    if (!records_)
      ZqList_CreateExZ(&records_, sizeof(QUILLET_EVENT), 0, 64, ZQLIST_ARRAY | ZQLIST_LOCKED, nullptr, 0, nullptr);
    DWORD key = static_cast<DWORD>(recordTarget_);
    buffer->RestrictToSubTracks(&key, 1);
    DWORD position = 0;
    BOOL more = FALSE;
    QUILLET_EVENT e{};
    HRESULT hr = buffer->FindFirst(&position, &e, &more, QEV_SHORT_KINDS);
    while (hr == S_OK) {
      if (!records_ || FAILED(ZqList_InsertList(records_, -1, &e, 1))) ClearEvent(&e);
      e = QUILLET_EVENT{};
      hr = buffer->FindNext(&position, &e, &more, QEV_SHORT_KINDS);
    }
  }
  buffer->RestrictToSubTracks(nullptr, 0);
  return S_OK;
}

}  // namespace quillet
