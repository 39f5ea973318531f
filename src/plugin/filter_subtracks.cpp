// The filter's view of the track: sub-tracks, their events, the selection
// and the rescans that follow changes.
#include <climits>
#include <cstring>

#include "plugin/filter_object.h"
#include "midi/midi_event.h"

namespace quillet {

namespace {

int CALLBACK CompareKeys(LONG, DWORD_PTR key, DWORD_PTR item) {
  DWORD a = reinterpret_cast<const SubTrackItem*>(key)->key, b = reinterpret_cast<const SubTrackItem*>(item)->key;
  return a < b ? -1 : a > b ? 1 : 0;
}

int CALLBACK CompareTimes(LONG, DWORD_PTR key, DWORD_PTR item) {
  LONGLONG a = reinterpret_cast<const QUILLET_EVENT*>(key)->time, b = reinterpret_cast<const QUILLET_EVENT*>(item)->time;
  return a < b ? -1 : a > b ? 1 : 1;  // equal times go after: arrival order is kept
}

tZQLIST* NewEventList() {
  tZQLIST* list = nullptr;
  ZqList_CreateExZ(&list, sizeof(QUILLET_EVENT), 0, 64, ZQLIST_ARRAY, nullptr, 0, nullptr);
  return list;
}

// Collected events are appended one at a time: the room grows by half of
// what is there, so that a sub-track of millions of events is not moved
// once per growth step.
HRESULT AppendEvent(tZQLIST* list, int at, const QUILLET_EVENT& e) {
  if (list->count >= list->capacity && list->count > list->growStep) ZqList_GrowAllocated(list, list->count / 2);
  return ZqList_InsertList(list, at, &e, 1);
}

void ClearEventList(tZQLIST* list) {
  for (LONG i = 0; i < list->count; ++i) ClearEvent(static_cast<QUILLET_EVENT*>(ZQLIST_SLOT(list, i)));
  ZqList_DeleteList(list, 0, -1, FALSE);
}

// Walks an enumeration of the track; `visit` takes ownership of each record.
template <typename Visit>
HRESULT Enumerate(IQuilletTrack* track, QUILLET_QUERY query, DWORD selector, Visit visit) {
  QUILLET_EVENT e{};
  BOOL more = FALSE;
  HRESULT hr = track->EnumFirst(&query, &e, &more, selector);
  while (hr == S_OK) {
    if (!visit(e)) ClearEvent(&e);
    if (!more) break;
    e = QUILLET_EVENT{};
    hr = track->EnumNext(&query, &e, &more, selector);
  }
  return FAILED(hr) ? hr : S_OK;
}

}  // namespace

HRESULT FilterObject::BeginRead() noexcept {
  if (!track_) return E_UNEXPECTED;
  HRESULT hr = track_->BeginAccess(0, nullptr);
  if (SUCCEEDED(hr)) ++accessDepth_;
  return hr;
}

void FilterObject::EndRead() noexcept {
  if (accessDepth_ > 0 && track_) {
    --accessDepth_;
    track_->EndAccess(TRUE);
  }
}

SubTrackItem* FilterObject::FindSubTrack(DWORD key) noexcept {
  if (!subTracks_) return nullptr;
  SubTrackItem probe{key, 0, nullptr};
  int at = ZqList_FindSortedItemRange(subTracks_, reinterpret_cast<DWORD_PTR>(&probe), 0, -1, CompareKeys);
  return at < 0 ? nullptr : static_cast<SubTrackItem*>(ZQLIST_SLOT(subTracks_, at));
}

HRESULT FilterObject::BuildSubTrackList() noexcept {
  if (!track_) return E_UNEXPECTED;
  if (subTracks_) {
    for (LONG i = 0; i < subTracks_->count; ++i) {
      tZQLIST*& events = static_cast<SubTrackItem*>(ZQLIST_SLOT(subTracks_, i))->events;
      if (events) {
        ClearEventList(events);
        ZqList_Destroy(events);
        events = nullptr;
      }
    }
    ZqList_DeleteList(subTracks_, 0, -1, FALSE);
  } else {
    HRESULT hr = ZqList_CreateExZ(&subTracks_, sizeof(SubTrackItem), 0, 16, ZQLIST_ARRAY, nullptr, 0, nullptr);
    if (FAILED(hr)) return hr;
  }
  channelMask_ = 0;
  HRESULT hr = BeginRead();
  if (FAILED(hr)) return hr;
  QUILLET_QUERY query{QENUM_SUBTRACKS, 0, 0, 0, 0};
  hr = Enumerate(track_, query, 0, [&](QUILLET_EVENT& e) {
    SubTrackItem item{e.subTrack, e.channel, nullptr};
    int at = ZqList_FindSortedInsertIndexRange(subTracks_, reinterpret_cast<DWORD_PTR>(&item), 0, -1, CompareKeys);
    ZqList_InsertList(subTracks_, at, &item, 1);
    if (e.channel < 0) channelMask_ = 0xFFFF;
    else if (e.channel < 16) channelMask_ |= static_cast<WORD>(1u << e.channel);
    return false;
  });
  EndRead();
  channelCount_ = static_cast<DWORD>(__builtin_popcount(channelMask_));
  flags_ |= kSubTrackListBuilt;
  return hr;
}

HRESULT FilterObject::BuildSubTrackEvents(tZQLIST* list, DWORD key) noexcept {
  if (!list) return E_UNEXPECTED;
  HRESULT hr = BeginRead();
  if (FAILED(hr)) return hr;
  QUILLET_QUERY query{QENUM_EVENTS, key, 0, 0, 0};
  hr = Enumerate(track_, query, 0, [&](QUILLET_EVENT& e) { return SUCCEEDED(AppendEvent(list, -1, e)); });
  EndRead();
  return hr;
}

HRESULT FilterObject::RebuildSubTrackLists(BOOL) noexcept {
  HRESULT hr = BuildSubTrackList();
  if (FAILED(hr)) return hr;
  for (LONG i = 0; i < subTracks_->count; ++i) {
    SubTrackItem* item = static_cast<SubTrackItem*>(ZQLIST_SLOT(subTracks_, i));
    if (!item->events) item->events = NewEventList();
    if (!item->events) return E_OUTOFMEMORY;
    BuildSubTrackEvents(item->events, item->key);
  }
  flags_ |= kSubTrackListBuilt | kEventListsBuilt;
  return S_OK;
}

HRESULT FilterObject::CollectEvents(tZQLIST* list, DWORD key, DWORD selector) noexcept {
  if (!list) return E_UNEXPECTED;
  const bool keepOrder = list->count > 0;
  HRESULT hr = BeginRead();
  if (FAILED(hr)) return hr;
  QUILLET_QUERY query{QENUM_EVENTS, key, 0, 0, 0};
  hr = Enumerate(track_, query, selector, [&](QUILLET_EVENT& e) {
    if (!(e.type & selectionMask_)) return false;
    if (e.channel >= 0 && !(channelFilter_ & (1u << (e.channel & 15)))) return false;
    int at = keepOrder ? ZqList_FindSortedInsertIndexRange(list, reinterpret_cast<DWORD_PTR>(&e), 0, -1, CompareTimes)
                       : -1;
    return SUCCEEDED(AppendEvent(list, at, e));
  });
  EndRead();
  return hr;
}

HRESULT FilterObject::Select(LONG subTrackRange, LONG eventRange) noexcept {
  if (!selection_) selection_ = NewEventList();
  if (!selection_) return E_OUTOFMEMORY;
  ClearEventList(selection_);
  flags_ &= ~kSelectionValid;
  if (!(flags_ & kSubTrackListBuilt)) {
    HRESULT hr = BuildSubTrackList();
    if (FAILED(hr)) return hr;
  }
  selectedSubTrack_ = subTrackRange;
  selectedEvents_ = eventRange;
  for (LONG i = 0; i < subTracks_->count; ++i) {
    const SubTrackItem* item = static_cast<SubTrackItem*>(ZQLIST_SLOT(subTracks_, i));
    if (subTrackRange >= 0 && static_cast<DWORD>(subTrackRange) != item->key) continue;
    CollectEvents(selection_, item->key, 0);
  }
  if (eventRange >= 0) {  // only that event stays
    for (LONG i = selection_->count - 1; i >= 0; --i) {
      if (i == eventRange) continue;
      ClearEvent(static_cast<QUILLET_EVENT*>(ZQLIST_SLOT(selection_, i)));
      ZqList_DeleteList(selection_, i, 1, FALSE);
    }
  }
  flags_ |= kSelectionValid;
  return S_OK;
}

// The first controller 7 and 10 values of each sub-track; 0 counts as none.
HRESULT FilterObject::RescanVolumeAndPan() noexcept {
  HRESULT hr = BuildSubTrackList();
  if (FAILED(hr)) return hr;
  hr = BeginRead();
  if (FAILED(hr)) return hr;
  for (LONG i = 0; i < subTracks_->count; ++i) {
    DWORD key = static_cast<SubTrackItem*>(ZQLIST_SLOT(subTracks_, i))->key;
    if (key == 0 || key >= QUILLET_SUBTRACKS) continue;
    QUILLET_MIX& mix = mix_[key];
    mix.lastVolume = mix.lastPan = 0;
    mix.volumeChanged = mix.panChanged = 0;
    QUILLET_QUERY query{QENUM_EVENTS, key, 0, 0, 0};
    Enumerate(track_, query, 0, [&](QUILLET_EVENT& e) {
      if (e.type == QEV_CONTROL) {
        if (e.bytes[0] == 7 && !mix.lastVolume) mix.lastVolume = e.bytes[1] & 0x7F;
        if (e.bytes[0] == 10 && !mix.lastPan) mix.lastPan = e.bytes[1] & 0x7F;
      }
      return false;
    });
    if (!mix.lastVolume) mix.lastVolume = 64;
    if (!mix.lastPan) mix.lastPan = 64;
  }
  EndRead();
  return S_OK;
}

HRESULT FilterObject::RescanPositions() noexcept {
  metaText2Pos_ = tempoPos_ = -1;
  for (auto& p : markerPos_) p = -1;
  HRESULT hr = BeginRead();
  if (FAILED(hr)) return hr;
  static const BYTE kMarkerSignature[] = {0x7F, 0x00, 0x01, 0x0B, 0x04};
  QUILLET_QUERY query{QENUM_RANGE, 0, LLONG_MIN, LLONG_MAX, 0};
  hr = Enumerate(track_, query, 0, [&](QUILLET_EVENT& e) {
    if (e.type != QEV_META || !e.dataLength || !e.data) return false;
    BYTE metaType = e.data[0];
    if (metaType == 0x02 && metaText2Pos_ < 0) metaText2Pos_ = e.time;
    if (metaType == 0x51 && tempoPos_ < 0) tempoPos_ = e.time;
    if (e.dataLength >= sizeof(kMarkerSignature) && memcmp(e.data, kMarkerSignature, sizeof(kMarkerSignature)) == 0)
      for (auto& p : markerPos_) p = e.time;
    return false;
  });
  EndRead();
  return hr;
}

HRESULT FilterObject::RebuildMarkers() noexcept {
  if (!services_) return S_FALSE;
  UINT count = 0;
  QUILLET_MARKER* markers = nullptr;
  HRESULT hr = services_->GetMarkers(&count, &markers);
  if (SUCCEEDED(hr)) storedValue_ = static_cast<LONG>(count);
  if (markers) {
    for (UINT i = 0; i < count; ++i) CoTaskMemFree(markers[i].data);
    CoTaskMemFree(markers);
  }
  return hr;
}

}  // namespace quillet
