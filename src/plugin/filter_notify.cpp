// Host notifications: dispatch by kind, the queue, and change handling.
#include <cstring>

#include "plugin/filter_object.h"
#include "midi/midi_event.h"

namespace quillet {

namespace {

using Handler = HRESULT (STDMETHODCALLTYPE FilterObject::*)(const QUILLET_NOTIFICATION*, BOOL);

struct Route {
  const GUID* kind;
  Handler handler;
  bool readsTrack;  // its handling reads the track and rebuilds lists
};

const Route kRoutes[] = {
    {&QNOTIFY_TRACK_CHANGED, &FilterObject::OnTrackChanged, true},
    {&QNOTIFY_MARKERS_CHANGED, &FilterObject::OnMarkersChanged, true},
    {&QNOTIFY_CONTENT_CHANGED, &FilterObject::OnContentChanged, false},
    {&QNOTIFY_TRANSPORT, &FilterObject::OnTransport, false},
    {&QNOTIFY_POSITION, &FilterObject::OnPosition, false},
    {&QNOTIFY_SELECTION, &FilterObject::OnSelection, false},
    {&QNOTIFY_SUBTRACKS, &FilterObject::OnSubTracks, false},
    {&QNOTIFY_PROJECT_OPEN, &FilterObject::OnProjectOpen, false},
    {&QNOTIFY_PROJECT_CLOSE, &FilterObject::OnProjectClose, false},
    {&QNOTIFY_UI_STATE, &FilterObject::OnUiState, false},
    {&QNOTIFY_DEVICES, &FilterObject::OnDevices, false},
    {&QNOTIFY_METRONOME, &FilterObject::OnMetronome, false},
    {&QNOTIFY_GENERIC, &FilterObject::OnGeneric, false},
    {&QNOTIFY_IDLE, &FilterObject::OnIdle, false},
};

bool IsKind(const QUILLET_NOTIFICATION* n, const GUID& kind) { return IsEqualGUID(n->kind, kind); }

const Route kOtherKinds{nullptr, &FilterObject::OnGeneric, false};  // kinds without a handler of their own

const Route& RouteOf(const QUILLET_NOTIFICATION* n) {
  for (const Route& route : kRoutes)
    if (IsKind(n, *route.kind)) return route;
  return kOtherKinds;
}

// A notification that arrived on another thread, kept for the host's.
struct Arrival {
  QUILLET_NOTIFICATION notification;
  BOOL deferred;
};

// Lists shared between threads under `lock`: a copy of `record` joins the
// list (made on first use), or the whole list is taken, leaving none.
HRESULT AppendLocked(CRITICAL_SECTION& lock, tZQLIST*& list, const void* record, int size) {
  EnterCriticalSection(&lock);
  HRESULT hr = S_OK;
  if (!list) hr = ZqList_CreateExZ(&list, size, 0, 16, ZQLIST_ARRAY, nullptr, 0, nullptr);
  if (SUCCEEDED(hr)) hr = ZqList_InsertList(list, -1, record, 1);
  LeaveCriticalSection(&lock);
  return FAILED(hr) ? hr : S_OK;
}

tZQLIST* TakeLocked(CRITICAL_SECTION& lock, tZQLIST*& list) {
  EnterCriticalSection(&lock);
  tZQLIST* taken = list;
  list = nullptr;
  LeaveCriticalSection(&lock);
  return taken;
}

}  // namespace

// The lists and the track are the host's calling thread's. A kind whose
// handling reads the track, arriving on another thread, waits for that
// thread's next call into the filter; the other kinds touch only the
// locked queue and the status flags, and are handled where they arrive.
HRESULT FilterObject::Notify(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept {
  if (!n) return E_POINTER;
  const Route& route = RouteOf(n);
  if (!OnHostThread()) {
    if (route.readsTrack) return HoldForHostThread(n, deferred);
  } else {
    RunArrivals();
  }
  HRESULT hr = (this->*route.handler)(n, deferred);
  if (hr == S_OK && deferred && ((flags_ & kTrackChanged) || (QNOTIFY_WORD(n, 9) & QNOTIFY_FORCE_FORWARD)))
    ForwardToObserver(n);
  return hr;
}

void FilterObject::ForwardToObserver(const QUILLET_NOTIFICATION* n) noexcept {
  if (IQuilletObserver* target = Observer()) {
    target->OnNotify(n);
    target->Release();
  }
}

HRESULT FilterObject::OnTrackChanged(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept {
  switch (QNOTIFY_WORD(n, 11)) {
    case QCHANGE_TRACK_DATA:
      RebuildSubTrackLists(TRUE);
      flags_ |= kTrackChanged;
      break;
    case QCHANGE_EVENT:
      if (QNOTIFY_WORD(n, 9) & QCHANGE_EVENT_FLAGS) {
        if (deferred) QueueCopy(n);
        else AppendChangedEvent(n);
      }
      break;
    case QCHANGE_BOOKKEEPING:
      flags_ |= kTrackChanged;
      break;
    default:
      break;
  }
  if (!deferred && (flags_ & kTrackChanged) && !(flags_ & kQueueRunRequested)) {
    RescanPositions();
    RescanVolumeAndPan();
    flags_ &= ~kTrackChanged;  // the rescan that was due has run
  }
  return S_OK;
}

// The changed event joins its sub-track's event list; a selection showing
// that whole sub-track is refreshed.
void FilterObject::AppendChangedEvent(const QUILLET_NOTIFICATION* n) noexcept {
  if (!track_) return;
  DWORD key = QNOTIFY_WORD(n, 12), position = QNOTIFY_WORD(n, 13);
  SubTrackItem* item = FindSubTrack(key);
  if (!item) return;
  if (!item->events) {
    ZqList_CreateExZ(&item->events, sizeof(QUILLET_EVENT), 0, 64, ZQLIST_ARRAY, nullptr, 0, nullptr);
    if (!item->events) return;
  }
  QUILLET_EVENT e{};
  if (FAILED(BeginRead())) return;
  HRESULT hr = track_->ReadEvent(key, position, &e);
  EndRead();
  if (hr != S_OK) return;
  if (FAILED(ZqList_InsertList(item->events, -1, &e, 1))) {
    ClearEvent(&e);
    return;
  }
  if (selectedSubTrack_ == static_cast<LONG>(key) && selectedEvents_ < 0) {
    flags_ &= ~kSelectionValid;
    Select(selectedSubTrack_, selectedEvents_);
  }
}

HRESULT FilterObject::OnMarkersChanged(const QUILLET_NOTIFICATION*, BOOL) noexcept {
  RebuildMarkers();
  flags_ |= kTrackChanged;
  return S_OK;
}

HRESULT FilterObject::OnContentChanged(const QUILLET_NOTIFICATION*, BOOL) noexcept {
  flags_ |= kTrackChanged;
  return S_OK;
}

// Four kinds the property page handles on its own thread: queued when
// deferred.
HRESULT FilterObject::OnTransport(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept {
  return deferred ? QueueCopy(n) : S_OK;
}
HRESULT FilterObject::OnPosition(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept {
  return deferred ? QueueCopy(n) : S_OK;
}
HRESULT FilterObject::OnSelection(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept {
  return deferred ? QueueCopy(n) : S_OK;
}
HRESULT FilterObject::OnSubTracks(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept {
  return deferred ? QueueCopy(n) : S_FALSE;
}

HRESULT FilterObject::OnGeneric(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept {
  if (deferred && (IsKind(n, QNOTIFY_TEMPO_MAP) || IsKind(n, QNOTIFY_METER_MAP) || IsKind(n, QNOTIFY_TRACK_RENAMED))) {
    flags_ |= kTrackChanged;
    return S_OK;
  }
  return S_FALSE;
}

// Not handled by the filter.
HRESULT FilterObject::OnProjectOpen(const QUILLET_NOTIFICATION*, BOOL) noexcept { return S_FALSE; }
HRESULT FilterObject::OnProjectClose(const QUILLET_NOTIFICATION*, BOOL) noexcept { return S_FALSE; }
HRESULT FilterObject::OnUiState(const QUILLET_NOTIFICATION*, BOOL) noexcept { return S_FALSE; }
HRESULT FilterObject::OnDevices(const QUILLET_NOTIFICATION*, BOOL) noexcept { return S_FALSE; }
HRESULT FilterObject::OnMetronome(const QUILLET_NOTIFICATION*, BOOL) noexcept { return S_FALSE; }
HRESULT FilterObject::OnIdle(const QUILLET_NOTIFICATION*, BOOL) noexcept { return S_FALSE; }

HRESULT FilterObject::QueueCopy(const QUILLET_NOTIFICATION* n) noexcept {
  return AppendLocked(queueLock_, queue_, n, sizeof(QUILLET_NOTIFICATION));
}

HRESULT FilterObject::QueueNotification(const QUILLET_NOTIFICATION* n) noexcept {
  if (!n) return E_POINTER;
  HRESULT hr = QueueCopy(n);
  if (SUCCEEDED(hr)) flags_ |= kTrackChanged;
  return hr;
}

bool FilterObject::OnHostThread() const noexcept {
  DWORD home = hostThread_.load();
  return home == 0 || home == GetCurrentThreadId();
}

// The flag is raised after the record is in: a run that misses it now
// finds it on the next call, and a run that finds nothing costs nothing.
HRESULT FilterObject::HoldForHostThread(const QUILLET_NOTIFICATION* n, BOOL deferred) noexcept {
  const Arrival arrival{*n, deferred};
  HRESULT hr = AppendLocked(queueLock_, arrivals_, &arrival, sizeof(Arrival));
  if (SUCCEEDED(hr)) arrivalsWaiting_ = true;
  return hr;
}

// On the host's thread: what arrived elsewhere is handled, in arrival
// order, as it would have been had it arrived here. Arrivals during the
// run wait for the next one, after those taken now.
void FilterObject::RunArrivals() noexcept {
  if (!arrivalsWaiting_.load() || runningArrivals_) return;
  runningArrivals_ = true;
  arrivalsWaiting_ = false;
  tZQLIST* taken = TakeLocked(queueLock_, arrivals_);
  for (LONG i = 0; taken && i < taken->count; ++i) {
    const Arrival* arrival = static_cast<const Arrival*>(ZQLIST_SLOT(taken, i));
    Notify(&arrival->notification, arrival->deferred);
  }
  ZqList_Destroy(taken);
  runningArrivals_ = false;
}

void FilterObject::DropArrivals() noexcept {
  if (!locksReady_) return;
  arrivalsWaiting_ = false;
  ZqList_Destroy(TakeLocked(queueLock_, arrivals_));
}

HRESULT FilterObject::RunQueuedNotifications(BOOL discard) noexcept {
  if (OnHostThread()) RunArrivals();
  tZQLIST* taken = TakeLocked(queueLock_, queue_);
  bool any = taken && taken->count > 0;
  if (taken && !discard) {
    for (LONG i = 0; i < taken->count; ++i)
      Notify(static_cast<QUILLET_NOTIFICATION*>(ZQLIST_SLOT(taken, i)), FALSE);
  }
  ZqList_Destroy(taken);
  flags_ &= ~kQueueRunRequested;
  return any ? S_OK : S_FALSE;
}

}  // namespace quillet
